#include "REZirudid/MessageBox.h"

#include "REZirudid/Common.h"
#include "REZirudid/FrameworkFaces.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QWindow>
#include <QVBoxLayout>

namespace REZirudid {

namespace {

struct ButtonEntry
{
    int flag;
    const char* text;
};

// In the order the buttons stand in the box.
const ButtonEntry kButtons[] = {
    {MessageBox::Ok, QT_TRANSLATE_NOOP("REZirudid::MessageBox", "Ok")},
    {MessageBox::Save, QT_TRANSLATE_NOOP("REZirudid::MessageBox", "Save")},
    {MessageBox::SaveAll, QT_TRANSLATE_NOOP("REZirudid::MessageBox", "Save All")},
    {MessageBox::Open, QT_TRANSLATE_NOOP("REZirudid::MessageBox", "Open")},
    {MessageBox::Yes, QT_TRANSLATE_NOOP("REZirudid::MessageBox", "Yes")},
    {MessageBox::YesToAll, QT_TRANSLATE_NOOP("REZirudid::MessageBox", "Yes to All")},
    {MessageBox::No, QT_TRANSLATE_NOOP("REZirudid::MessageBox", "No")},
    {MessageBox::NoToAll, QT_TRANSLATE_NOOP("REZirudid::MessageBox", "No to All")},
    {MessageBox::Abort, QT_TRANSLATE_NOOP("REZirudid::MessageBox", "Abort")},
    {MessageBox::Retry, QT_TRANSLATE_NOOP("REZirudid::MessageBox", "Retry")},
    {MessageBox::Ignore, QT_TRANSLATE_NOOP("REZirudid::MessageBox", "Ignore")},
    {MessageBox::Close, QT_TRANSLATE_NOOP("REZirudid::MessageBox", "Close")},
    {MessageBox::Cancel, QT_TRANSLATE_NOOP("REZirudid::MessageBox", "Cancel")},
    {MessageBox::Discard, QT_TRANSLATE_NOOP("REZirudid::MessageBox", "Discard")},
    {MessageBox::Help, QT_TRANSLATE_NOOP("REZirudid::MessageBox", "Help")},
    {MessageBox::Apply, QT_TRANSLATE_NOOP("REZirudid::MessageBox", "Apply")},
    {MessageBox::Reset, QT_TRANSLATE_NOOP("REZirudid::MessageBox", "Reset")},
    {MessageBox::RestoreDefaults, QT_TRANSLATE_NOOP("REZirudid::MessageBox", "Restore Defaults")},
};

QString iconPicture(MessageBox::Icon icon)
{
    switch (icon) {
    case MessageBox::Warning:
        return QStringLiteral(":/messagewarning.png");
    case MessageBox::Question:
        return QStringLiteral(":/messagequestion.png");
    default:
        return QStringLiteral(":/messageinformation.png");
    }
}

// The program's own icon, drawn for the pixel ratio of the screen the box opens on: its parent's,
// or the densest screen when it has none.
QPixmap iconPixmap(MessageBox::Icon icon, const QWidget* parent)
{
    const QWidget* window = parent ? parent->window() : nullptr;
    const QSize side(Faces::kMessageIconSize, Faces::kMessageIconSize);
    return Common::sharpIcon(iconPicture(icon)).pixmap(window ? window->windowHandle() : nullptr, side);
}

} // namespace

QString MessageBox::buttonText(int flag)
{
    for (const ButtonEntry& entry : kButtons) {
        if (entry.flag == flag)
            return tr(entry.text);
    }
    return QString();
}

MessageBox::MessageBox(QWidget* parent, Icon icon, const QString& title, const QString& text,
                       int buttons)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Dialog"));
    setWindowTitle(title);
    setModal(true);

    QLabel* iconLabel = new QLabel;
    if (icon != NoIcon)
        iconLabel->setPixmap(iconPixmap(icon, parent));
    iconLabel->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    QLabel* textLabel = new QLabel(text);
    textLabel->setObjectName(QStringLiteral("MessageText"));
    textLabel->setWordWrap(true);
    textLabel->setMinimumWidth(260);
    textLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);

    QHBoxLayout* top = new QHBoxLayout;
    top->setSpacing(14);
    top->addWidget(iconLabel, 0, Qt::AlignTop);
    top->addWidget(textLabel, 1);

    QHBoxLayout* row = new QHBoxLayout;
    row->addStretch(1);
    QPushButton* first = nullptr;
    int count = 0;
    int lastFlag = 0;
    for (const ButtonEntry& entry : kButtons) {
        if (!(buttons & entry.flag))
            continue;
        QPushButton* button = new QPushButton(tr(entry.text));
        button->setObjectName(QStringLiteral("PushButton"));
        Common::fitPushButton(button);
        button->setAutoDefault(false);
        const int flag = entry.flag;
        connect(button, &QPushButton::clicked, this, [this, flag] { done(flag); });
        row->addWidget(button);
        m_texts.append(button->text());
        if (!first)
            first = button;
        ++count;
        lastFlag = flag;
    }
    if (first) {
        first->setDefault(true);
        first->setFocus();
    }

    for (int flag : {Cancel, No, Close, Abort}) {
        if (buttons & flag) {
            m_escapeFlag = flag;
            break;
        }
    }
    if (!m_escapeFlag && count == 1)
        m_escapeFlag = lastFlag;

    QVBoxLayout* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 18, 18, 14);
    layout->setSpacing(16);
    layout->addLayout(top);
    layout->addLayout(row);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QStringList MessageBox::buttonTexts() const
{
    return m_texts;
}

void MessageBox::reject()
{
    done(m_escapeFlag);
}

static int runBox(QWidget* parent, MessageBox::Icon icon, const QString& title,
                  const QString& text, int buttons)
{
    MessageBox box(parent, icon, title, text, buttons);
    return box.exec();
}

int MessageBox::information(QWidget* parent, const QString& title, const QString& text,
                            int buttons, int)
{
    return runBox(parent, Information, title, text, buttons);
}

int MessageBox::warning(QWidget* parent, const QString& title, const QString& text, int buttons,
                        int)
{
    return runBox(parent, Warning, title, text, buttons);
}

int MessageBox::question(QWidget* parent, const QString& title, const QString& text, int buttons,
                         int)
{
    return runBox(parent, Question, title, text, buttons);
}

} // namespace REZirudid

#include "REZirudid/PromoDialog.h"

#include "REZirudid/Common.h"
#include "REZirudid/App.h"
#include "REZirudid/FrameworkFaces.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace REZirudid {

PromoDialog::PromoDialog(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Dialog"));
    setModal(true);
    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(24, 20, 24, 16);
    m_layout->setSpacing(14);
    m_text = new QLabel;
    m_text->setWordWrap(true);
    m_text->setAlignment(Qt::AlignHCenter);
    m_text->setMinimumWidth(280);
    m_layout->addWidget(m_text);
    m_buttons = new QVBoxLayout;
    m_buttons->setSpacing(8);
    m_layout->addLayout(m_buttons);
    m_layout->setSizeConstraint(QLayout::SetFixedSize);
}

void PromoDialog::setHeadline(const QString& title, const QString& text)
{
    setWindowTitle(title);
    m_text->setText(text);
}

QPushButton* PromoDialog::addLinkButton(const Faces::Face& face, const QString& url)
{
    QPushButton* button = new QPushButton;
    button->setObjectName(QString::fromLatin1(face.objectName));
    button->setFixedSize(face.width, face.height);
    button->setFlat(true);
    button->setCursor(Qt::PointingHandCursor);
    button->setToolTip(tr(face.toolTip));
    button->setAccessibleName(tr(face.caption));
    button->setProperty("link", url);
    button->setEnabled(!url.isEmpty());
    connect(button, &QPushButton::clicked, this, [this, url] {
        App::openUrl(url);
        accept();
    });
    m_buttons->addWidget(button, 0, Qt::AlignHCenter);
    return button;
}

void PromoDialog::addCloseButton(const QString& text)
{
    QPushButton* close = new QPushButton(text);
    close->setObjectName(QStringLiteral("PushButton"));
    Common::fitPushButton(close);
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    QHBoxLayout* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(close);
    m_layout->addLayout(row);
}

QString PromoDialog::linkOf(const QString& objectName) const
{
    const QPushButton* button = findChild<QPushButton*>(objectName);
    return button ? button->property("link").toString() : QString();
}

} // namespace REZirudid

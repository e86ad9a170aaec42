#include "RIRurud/FavoritesDeleteDlg.h"

#include "REZirudid/App.h"

#include <QBoxLayout>
#include <QListWidget>
#include <QPushButton>

namespace RIRurud {

FavoritesDeleteDlg::FavoritesDeleteDlg(QWidget* parent)
    : QDialog(parent)
    , m_list(new QListWidget)
    , m_cancel(new QPushButton(tr("&Cancel")))
{
    setWindowTitle(tr("Delete the chords"));
    setObjectName(QStringLiteral("Dialog"));
    setMinimumSize(400, 300);

    m_list->setAttribute(Qt::WA_MacShowFocusRect, false);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    m_cancel->setFlat(true);
    m_cancel->setObjectName(QStringLiteral("PushButton"));
    m_cancel->setFixedHeight(32);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* remove = new QPushButton(tr("&Delete"));
    remove->setFlat(true);
    remove->setObjectName(QStringLiteral("DeleteButton"));
    remove->setFixedHeight(32);
    connect(remove, &QPushButton::clicked, this, &QDialog::accept);

    const REZirudid::App* app = REZirudid::App::theApp();
    auto* buttons = new QBoxLayout(app && app->isPocketDevice() ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight);
    buttons->addWidget(remove);
    buttons->addWidget(m_cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addLayout(buttons);
}

QString FavoritesDeleteDlg::item() const
{
    const QListWidgetItem* current = m_list->currentItem();
    return m_list->count() > 0 && current ? current->text() : QString();
}

bool FavoritesDeleteDlg::hasItem() const
{
    return m_list->currentItem() != nullptr;
}

void FavoritesDeleteDlg::addItem(const QString& text)
{
    m_list->insertItem(0, text);
}

void FavoritesDeleteDlg::clearItems()
{
    m_list->clear();
}

void FavoritesDeleteDlg::showEvent(QShowEvent* event)
{
    if (m_list->count() > 0)
        m_list->setCurrentRow(0);
    m_cancel->setFocus();
    QDialog::showEvent(event);
}

} // namespace RIRurud

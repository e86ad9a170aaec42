#pragma once

#include <QDialog>
#include <QMap>
#include <QPair>
#include <QString>

namespace RIRurud {

// The per-key report of a training: one row per key that was answered, in key-name order, with a
// bar and the right and wrong counts; a short note when there is nothing to show.
class NotesLernReportDialog : public QDialog
{
    Q_OBJECT
public:
    NotesLernReportDialog(const QMap<QString, QPair<int, int>>& report, QWidget* parent = nullptr);
};

} // namespace RIRurud

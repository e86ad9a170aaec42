#pragma once

#include <QAbstractListModel>
#include <QDir>
#include <QList>
#include <QStringList>
#include <QTime>

namespace QMMultiMedia {

class DurationScanner;

// A play list for item views: one row per audio file, showing its name, with its modification
// time, its path and its playing time as further roles. The playing times are measured off the
// caller's thread when the files enter the list: a row's time is 00:00:00 until its figure comes
// (dataChanged), and an MP3 without a header of its length shows an estimate first.
class PlayListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    enum Roles {
        LastModifiedRole = Qt::UserRole + 1,
        PathRole = Qt::UserRole + 3,
        DurationRole = Qt::UserRole + 4,
    };

    explicit PlayListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // Renames a row (edit role only): a bare name keeps the row's folder; the file on disk and
    // the playing time stay as they are.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The files of a folder matching the name filters, in the folder's sort order.
    void setPlayList(const QDir& folder, const QStringList& nameFilters);
    void setPlayList(const QStringList& paths);
    void appendToPlayList(const QStringList& paths);

    // The playing time of a file in whole seconds; 00:00:00 when it cannot be loaded. Measured on
    // the calling thread: an MP3 without a header of its length is decoded whole.
    QTime audioFileDuration(const QString& path) const;

private:
    bool isRow(const QModelIndex& index) const;
    void setDuration(int row, qint64 ms);

    QStringList m_files;
    QList<QTime> m_durations;
    DurationScanner* m_scanner;
};

} // namespace QMMultiMedia

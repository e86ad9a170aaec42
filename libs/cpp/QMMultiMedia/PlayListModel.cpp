#include "QMMultiMedia/PlayListModel.h"

#include "QMMultiMedia/DurationScanner.h"

#include "MTools/TimeInfo.h"

#include <QDateTime>
#include <QFileInfo>

namespace QMMultiMedia {

PlayListModel::PlayListModel(QObject* parent)
    : QAbstractListModel(parent)
    , m_scanner(new DurationScanner(this))
{
    connect(m_scanner, &DurationScanner::measured, this, &PlayListModel::setDuration);
}

void PlayListModel::setDuration(int row, qint64 ms)
{
    if (row < 0 || row >= m_durations.size())
        return;
    m_durations[row] = MTools::TimeInfo::msecsToTime(ms);
    emit dataChanged(index(row), index(row), {DurationRole});
}

bool PlayListModel::isRow(const QModelIndex& index) const
{
    return index.isValid() && index.model() == this && index.row() >= 0 && index.column() >= 0
        && index.row() < m_files.size();
}

int PlayListModel::rowCount(const QModelIndex&) const
{
    return m_files.size();
}

QVariant PlayListModel::data(const QModelIndex& index, int role) const
{
    if (!isRow(index))
        return QVariant();
    const QString& path = m_files.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return QFileInfo(path).fileName();
    case LastModifiedRole:
        return QFileInfo(path).lastModified();
    case PathRole:
        return path;
    case DurationRole:
        return index.row() < m_durations.size() ? QVariant(m_durations.at(index.row())) : QVariant();
    default:
        return QVariant();
    }
}

bool PlayListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!isRow(index) || role != Qt::EditRole)
        return false;
    const QString text = value.toString();
    // A blank name would point the row at its folder.
    if (text.trimmed().isEmpty())
        return false;
    QString& path = m_files[index.row()];
    if (text.contains(QLatin1Char('/')))
        path = text;
    else
        path = QFileInfo(path).dir().filePath(text);
    emit dataChanged(index, index, {});
    return true;
}

QVariant PlayListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Horizontal)
        return tr("Number");
    return QString::number(section);
}

Qt::ItemFlags PlayListModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractListModel::flags(index);
    if (isRow(index))
        f |= Qt::ItemIsEditable;
    return f;
}

QTime PlayListModel::audioFileDuration(const QString& path) const
{
    return MTools::TimeInfo::msecsToTime(DurationScanner::durationMs(path, true));
}

void PlayListModel::setPlayList(const QDir& folder, const QStringList& nameFilters)
{
    QStringList paths;
    for (const QString& name : folder.entryList(nameFilters, QDir::Files, QDir::NoSort))
        paths.append(folder.absoluteFilePath(name));
    setPlayList(paths);
}

namespace {

// What may enter a play list: a file, or a name with nothing behind it yet. A folder, a FIFO, a
// device or a socket is left out, as folder listings leave them out (reading a FIFO's length
// would wait for a writer).
QStringList playable(const QStringList& paths)
{
    QStringList out;
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (info.isFile() || !info.exists())
            out.append(path);
    }
    return out;
}

} // namespace

void PlayListModel::setPlayList(const QStringList& paths)
{
    beginResetModel();
    m_scanner->clear();
    m_files = playable(paths);
    m_durations.clear();
    for (int i = 0; i < m_files.size(); ++i)
        m_durations.append(QTime(0, 0));
    m_scanner->measure(m_files, 0);
    endResetModel();
}

void PlayListModel::appendToPlayList(const QStringList& paths)
{
    const QStringList added = playable(paths);
    if (added.isEmpty())
        return;
    beginResetModel();
    m_scanner->measure(added, m_files.size());
    m_files.append(added);
    for (int i = 0; i < added.size(); ++i)
        m_durations.append(QTime(0, 0));
    endResetModel();
}

} // namespace QMMultiMedia

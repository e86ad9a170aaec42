#pragma once

#include <QStringList>
#include <QWidget>

namespace pageviewer {

// One kind of page the viewer can open. open() builds the page as a top-level widget from the
// arguments that follow the page name (it may arm timers on the page to act once it is shown);
// the viewer shows it, grabs it when asked and runs the event loop.
using Opener = QWidget* (*)(const QStringList& args);

struct Registrar
{
    Registrar(const char* name, const char* usage, Opener opener);
};

struct PageEntry
{
    QString name;
    QString usage;
    Opener opener;
};
QList<PageEntry>& pages();

// The application's style sheet, unless the arguments hold --plain. Pages that set a sheet of their
// own leave this out.
void applyAppStyle(const QStringList& args);

// The value that follows option in args ("--note C5#" gives "C5#"), or an empty string.
QString optionValue(const QStringList& args, const QString& option);

} // namespace pageviewer

// Registers the pages one source file opens:
//   PAGEVIEWER_PAGE(banjo, "banjo [training]") { auto* page = new ...; return page; }
#define PAGEVIEWER_PAGE(id, usage)                                                          \
    static QWidget* open_##id(const QStringList& args);                                     \
    static const pageviewer::Registrar id##_registrar(#id, usage, &open_##id);              \
    static QWidget* open_##id(const QStringList& args)

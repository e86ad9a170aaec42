// Shows one page of the libraries alone in a window, for looking at it while developing and for the
// end-to-end tests of pages the main window does not place.
//
//   pageviewer <page> [page options] [--size WxH] [--grab file.png] [--plain]
//
// --size WxH  the window's size (default 1200 x 900)
// --grab F    save a picture of the window to F after a moment and quit
// --plain     leave out the application's style sheet (pages that bring a sheet of their own keep it)
//
// Each <Topic>Pages.cpp registers the pages it opens and their options; run without arguments for
// the list.

#include "PageViewer.h"

#include "REZirudid/App.h"

#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <memory>

#ifdef TONARIX_APP_STYLE
#include "TonarixStyle.h"
#endif

namespace pageviewer {

Registrar::Registrar(const char* name, const char* usage, Opener opener)
{
    pages().append({QString::fromLatin1(name), QString::fromLatin1(usage), opener});
}

QList<PageEntry>& pages()
{
    static QList<PageEntry> list;
    return list;
}

void applyAppStyle(const QStringList& args)
{
#ifdef TONARIX_APP_STYLE
    if (!args.contains(QLatin1String("--plain")))
        qApp->setStyleSheet(strTonarixStyle);
#else
    Q_UNUSED(args)
#endif
}

QString optionValue(const QStringList& args, const QString& option)
{
    const int at = args.indexOf(option);
    return at >= 0 && at + 1 < args.size() ? args.at(at + 1) : QString();
}

} // namespace pageviewer

int main(int argc, char** argv)
{
    REZirudid::App app(argc, argv, QStringLiteral("Vantrel"), QStringLiteral("TonarixPageViewer"));
    const QStringList args = app.arguments().mid(1);
    QTextStream err(stderr);

    QList<pageviewer::PageEntry> entries = pageviewer::pages();
    std::sort(entries.begin(), entries.end(),
              [](const pageviewer::PageEntry& a, const pageviewer::PageEntry& b) { return a.name < b.name; });
    auto usage = [&] {
        err << "usage: pageviewer <page> [page options] [--size WxH] [--grab file.png] [--plain]\npages:\n";
        for (const pageviewer::PageEntry& entry : entries)
            err << "  " << entry.usage << "\n";
        return 2;
    };
    if (args.isEmpty())
        return usage();

    const QString name = args.first().toLower();
    const auto entry = std::find_if(entries.cbegin(), entries.cend(),
                                    [&](const pageviewer::PageEntry& e) { return e.name == name; });
    if (entry == entries.cend()) {
        err << "unknown page: " << name << "\n";
        return usage();
    }

    std::unique_ptr<QWidget> page(entry->opener(args.mid(1)));
    if (!page)
        return 1;
    QSize size(1200, 900);
    const QStringList wh = pageviewer::optionValue(args, QStringLiteral("--size")).split(QLatin1Char('x'));
    const bool sizeGiven = wh.size() == 2 && wh.at(0).toInt() > 0 && wh.at(1).toInt() > 0;
    if (sizeGiven)
        size = QSize(wh.at(0).toInt(), wh.at(1).toInt());
    page->setWindowTitle(QStringLiteral("pageviewer: ") + name);
    // A page that sizes itself (from its own settings) keeps its size unless one is given.
    if (sizeGiven || !page->testAttribute(Qt::WA_Resized))
        page->resize(size);
    page->show();

    const QString grab = pageviewer::optionValue(args, QStringLiteral("--grab"));
    if (!grab.isEmpty()) {
        QTimer::singleShot(1500, page.get(), [&, grab] {
            page->grab().save(grab);
            app.quit();
        });
    }
    return app.exec();
}

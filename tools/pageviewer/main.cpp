// Shows one page of the libraries alone in a window, for looking at it while developing and for the
// end-to-end tests of pages the main window does not place.
//
//   pageviewer <page> [page options] [--size WxH] [--grab file.png] [--plain]
//
// --size WxH  the window's size (default 1200 x 900), held to the screen as the program's window is
// --grab F    save a picture of the window to F after a moment and quit
// --plain     leave out the application's style sheet (pages that bring a sheet of their own keep it)
//
// Each <Topic>Pages.cpp registers the pages it opens and their options; run without arguments for
// the list.

#include "PageViewer.h"

#include "REZirudid/App.h"
#include "REZirudid/ScreenFit.h"

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

namespace {

// "WxH" as a size of two whole numbers above 0; an invalid size for anything else.
QSize parseSize(const QString& text)
{
    const QStringList sides = text.split(QLatin1Char('x'));
    bool wideOk = false;
    bool highOk = false;
    const QSize size = sides.size() == 2 ? QSize(sides.at(0).toInt(&wideOk), sides.at(1).toInt(&highOk)) : QSize();
    return wideOk && highOk && !size.isEmpty() ? size : QSize();
}

} // namespace

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

    const bool sizeGiven = args.contains(QStringLiteral("--size"));
    const QSize size = sizeGiven ? pageviewer::parseSize(pageviewer::optionValue(args, QStringLiteral("--size")))
                                 : QSize(1200, 900);
    if (!size.isValid()) {
        err << "--size wants a width and a height above 0, such as 1200x900\n";
        return 2;
    }

    std::unique_ptr<QWidget> page(entry->opener(args.mid(1)));
    if (!page)
        return 1;
    page->setWindowTitle(QStringLiteral("pageviewer: ") + name);
    // A page that sizes itself (from its own settings) keeps its size unless one is given.
    if (sizeGiven || !page->testAttribute(Qt::WA_Resized))
        page->resize(size);
    // Held within the screen, as the program's window is: a window larger than the screen is out
    // of reach and costs memory in proportion to its size.
    auto* fit = page->findChild<REZirudid::ScreenFit*>(QString(), Qt::FindDirectChildrenOnly);
    if (!fit)
        fit = new REZirudid::ScreenFit(page.get());
    fit->fit();
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

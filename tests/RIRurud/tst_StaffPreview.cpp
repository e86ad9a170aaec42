// A developer's look at the staff: staves laid out like the banjo, balalaika, guitar and piano pages (on the
// application's style sheet and papers), each with a note from a board. Run it on a display to
// look at it; with a file name as argument it also saves a picture of the window and quits.
//
//   staff_preview [picture.png]
#include "RIRurud/DecoratedNotesWidget.h"
#include "RIRurud/NotesWidget.h"
#include "RIRurud/StaffTables.h"

#include "TonarixStyle.h"

#include "REZirudid/App.h"

#include <QGridLayout>
#include <QTimer>

using namespace RIRurud;

namespace {

QWidget* staffLike(const char* instrument, const char* objectName, const QString& note, int accidental)
{
    const StaffTables::Instrument* table = StaffTables::find(instrument);
    auto* decorated = new DecoratedNotesWidget();
    decorated->setObjectName(QLatin1String(objectName));
    decorated->setStartLine(table->layout.startLine);
    decorated->setLines(table->layout.lines);
    decorated->setTranslateLines(table->layout.translateLines);
    decorated->setPaperHeightFactor(table->layout.paperHeightFactor);
    decorated->setNoBass(table->layout.noBass);
    decorated->setNoViolin(table->layout.noViolin);
    decorated->setInstrumentName(QLatin1String(table->pageName));
    QTimer::singleShot(0, decorated, [decorated, note, accidental]() {
        decorated->notesWidget()->slotShowNote(note, accidental);
    });
    return decorated;
}

} // namespace

int main(int argc, char** argv)
{
    REZirudid::App app(argc, argv, QStringLiteral("Vantrel"), QStringLiteral("TonarixPreview"));
    app.setStyleSheet(strTonarixStyle);

    QWidget window;
    auto* grid = new QGridLayout(&window);
    grid->addWidget(staffLike("banjo", "DecoratedNotesWidgetBanjo", "C6", 1), 0, 0);
    grid->addWidget(staffLike("banjo", "DecoratedNotesWidgetBanjo", "D3", 0), 0, 1);
    grid->addWidget(staffLike("balalaika", "DecoratedNotesWidgetBalalaika", "E6", -1), 1, 0);
    grid->addWidget(staffLike("balalaika", "DecoratedNotesWidgetBalalaika", "G4", 0), 1, 1);
    // Both staves and the bass clef, as the guitar's and the piano's pages show them.
    grid->addWidget(staffLike("guitar", "DecoratedNotesWidgetGuitar", "C3", 0), 2, 0);
    grid->addWidget(staffLike("piano", "DecoratedNotesWidget", "C4", 1), 2, 1);
    window.resize(1200, 1200);
    window.setWindowTitle(QStringLiteral("Staff preview"));
    window.show();

    const QStringList args = app.arguments();
    if (args.size() > 1) {
        QTimer::singleShot(800, &window, [&window, &args]() {
            window.grab().save(args.at(1));
            QCoreApplication::quit();
        });
    }
    return app.exec();
}

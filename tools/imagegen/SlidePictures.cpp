// The introduction slides (960 x 600 JPEG and a 1920 x 1200 "@2x" twin, in the bundle's resource
// folder, in English, German and Russian): seven steps through the program, each with a title, a
// drawing of the part of the window it explains and a short text. Every position a slide lights is
// taken from the banjo's board table and drawn where the string line crosses that fret, the staff
// is laid out and its note drawn as the banjo page's staff does, and the buttons, keys and papers
// are the window's own faces.
#include "AppFaces.h"
#include "BoardDrawing.h"
#include "ImageSink.h"
#include "Palette.h"
#include "Shapes.h"
#include "SlideLayout.h"

#include "RIRurud/BoardMarks.h"
#include "RIRurud/BoardTables.h"
#include "RIRurud/StaffTables.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QVector>

#include <cstring>

namespace {

using namespace imagegen;
using namespace imagegen::faces;
namespace pal = imagegen::palette;
namespace tables = RIRurud::BoardTables;
namespace drawing = RIRurud::StaffTables::Drawing;

struct SlideText
{
    const char* title;
    const char* body;
};

// The window's own texts (its interface is English) are drawn as the window shows them; only the
// slides' titles and texts are translated.
struct SlideLanguage
{
    const char* code;
    SlideText slides[7];
    const char* step;   // "%1 of %2"
};

const SlideLanguage kSlideLanguages[] = {
    {"en",
     {{"Welcome to TonarixLite",
       "Learn where every note of the staff lies on the banjo and the balalaika. Seven short steps show you how."},
      {"Choose your instrument",
       "The column on the left holds the instruments. Banjo and balalaika open their pages; the others tell you where to find them."},
      {"Hover the staff",
       "Move the mouse over the staff: the note follows the pointer, and every position of that note lights up on the fingerboard."},
      {"Click the fingerboard",
       "Click a string at any fret: you hear the note, and the staff shows it with its name."},
      {"Start a training",
       "Press Training above the fingerboard, then Start. The board shows one position of a random note."},
      {"Answer on the keys",
       "Name the note on the twelve keys, laid out like one octave of a piano. The clock runs while you answer."},
      {"Read your report",
       "Right and wrong answers are counted for every note. Practise a little every day and watch the red bars shrink."}},
     "Step %1 of %2"},
    {"de",
     {{"Willkommen bei TonarixLite",
       "Lerne, wo jede Note der Notenzeile auf Banjo und Balalaika liegt. Sieben kurze Schritte zeigen dir, wie es geht."},
      {"Wähle dein Instrument",
       "Links stehen die Instrumente. Banjo und Balalaika öffnen ihre Seiten; die anderen zeigen dir, wo es sie gibt."},
      {"Fahre über die Notenzeile",
       "Bewege die Maus über die Notenzeile: Die Note folgt dem Zeiger, und jede Lage dieser Note leuchtet auf dem Griffbrett auf."},
      {"Klicke auf das Griffbrett",
       "Klicke eine Saite in einem beliebigen Bund an: Du hörst den Ton, und die Notenzeile zeigt ihn mit seinem Namen."},
      {"Starte ein Training",
       "Drücke „Training“ über dem Griffbrett und dann „Start“. Das Griffbrett zeigt eine Lage einer zufälligen Note."},
      {"Antworte auf den Tasten",
       "Benenne die Note auf den zwölf Tasten, angeordnet wie eine Oktave am Klavier. Die Uhr läuft, während du antwortest."},
      {"Lies deine Auswertung",
       "Richtige und falsche Antworten werden für jede Note gezählt. Übe jeden Tag ein wenig und sieh zu, wie die roten Balken schrumpfen."}},
     "Schritt %1 von %2"},
    {"ru",
     {{"Добро пожаловать в TonarixLite",
       "Узнайте, где каждая нота нотного стана находится на банджо и балалайке. Семь коротких шагов покажут, как это работает."},
      {"Выберите инструмент",
       "Слева — колонка инструментов. Банджо и балалайка открывают свои страницы; остальные подскажут, где их найти."},
      {"Наведите мышь на нотный стан",
       "Нота следует за указателем, а все позиции этой ноты загораются на грифе."},
      {"Нажмите на гриф",
       "Щёлкните по струне на любом ладу: вы услышите ноту, а нотный стан покажет её с названием."},
      {"Начните тренировку",
       "Нажмите «Тренировка» над грифом, затем «Старт». На грифе появится одна позиция случайной ноты."},
      {"Отвечайте клавишами",
       "Назовите ноту на двенадцати клавишах, расположенных как октава фортепиано. Пока вы отвечаете, идут часы."},
      {"Смотрите отчёт",
       "Верные и неверные ответы считаются для каждой ноты. Занимайтесь понемногу каждый день — и красные столбики станут короче."}},
     "Шаг %1 из %2"},
};

// What the slides show: the note of steps 3 and 4, the position clicked in step 4 (its place among
// the note's marked spots) and the position the trainer asks for in step 5.
constexpr const char* kShownNote = "E4";
constexpr int kClickedPosition = 1;
constexpr const char* kTrainingNote = "C5#";
constexpr int kTrainingPosition = 1;

QString u8(const char* text)
{
    return QString::fromUtf8(text);
}

void card(QPainter& p, const QRectF& r, const QColor& fill, qreal radius = 12)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 40));
    p.drawRoundedRect(r.translated(0, 3), radius, radius);
    p.setPen(QPen(pal::line(), 1));
    p.setBrush(fill);
    p.drawRoundedRect(r, radius, radius);
}

// A card of the banjo page's staff paper.
void paperCard(QPainter& p, const QRectF& r)
{
    card(p, r, Qt::white, 10);
    p.save();
    QPainterPath clip;
    clip.addRoundedRect(r, 10, 10);
    p.setClipPath(clip);
    drawPaper(p, r, pal::maple(), 7);
    p.restore();
}

void drawPointer(QPainter& p, const QPointF& tip)
{
    QPainterPath arrow;
    arrow.moveTo(0, 0);
    arrow.lineTo(0, 26);
    arrow.lineTo(7, 20);
    arrow.lineTo(12, 31);
    arrow.lineTo(17, 29);
    arrow.lineTo(12, 18);
    arrow.lineTo(21, 18);
    arrow.closeSubpath();
    p.save();
    p.translate(tip);
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(Qt::white);
    p.drawPath(arrow);
    p.restore();
}

// A face of the window drawn from its own picture design, stretched over `r`.
template <typename Face>
void face(QPainter& p, const QRectF& r, const QSizeF& design, Face draw)
{
    p.save();
    p.translate(r.topLeft());
    p.scale(r.width() / design.width(), r.height() / design.height());
    draw();
    p.restore();
}

// ---------------------------------------------------------------------------------------------
// The banjo's neck, from its board table.

struct Neck
{
    slides::NeckView view;
    tables::StringLine lines[5];
    double nut = 0;
    double end = 0;
    double peg = 0;   // where the short string starts

    QPointF at(double fx, double fy) const { return QPointF(view.x(fx), view.y(fy)); }
    double topEdge(double fx) const { return lines[0].yAt(fx) - 7.5; }
    double bottomEdge(double fx) const
    {
        // Past the short string's peg the neck widens to carry it.
        const double narrow = lines[3].yAt(fx) + 7.5;
        const double wide = lines[4].yAt(fx) + 6.5;
        const double t = qBound(0.0, (fx - (peg - 24)) / 22.0, 1.0);
        return narrow + (wide - narrow) * t * t * (3 - 2 * t);
    }
};

Neck neckOf(const slides::NeckView& view)
{
    const tables::BoardTable& banjo = tables::kBanjo;
    Neck n;
    n.view = view;
    for (int s = 0; s < banjo.stringCount && s < 5; ++s) {
        if (!tables::stringLine(banjo, s, &n.lines[s]))
            tables::stringLine(banjo, s, &n.lines[s], false);
    }
    n.nut = tables::fretWireX(banjo, 0);
    n.end = tables::fretWireX(banjo, banjo.fretSpotCount - 1) + 6;
    n.peg = tables::kFrameWidth;
    for (std::size_t i = 0; i < banjo.spotCount; ++i) {
        if (banjo.spots[i].string == 4)
            n.peg = qMin(n.peg, double(banjo.spots[i].x));
    }
    return n;
}

void drawNeck(QPainter& p, const Neck& n)
{
    const tables::BoardTable& banjo = tables::kBanjo;
    const QRectF area(n.view.left, n.view.top, n.view.width, n.view.height);
    p.save();
    QPainterPath frame;
    frame.addRoundedRect(area, 10, 10);
    p.setClipPath(frame);
    QLinearGradient ground(area.topLeft(), area.bottomLeft());
    ground.setColorAt(0, QColor(0x2F, 0x26, 0x20));
    ground.setColorAt(1, QColor(0x1A, 0x14, 0x10));
    p.fillRect(area, ground);

    // The drum's rim and head at the right end.
    const QPointF drum = n.at(952, 96);
    const QSizeF radius(200 * n.view.width / (n.view.frameRight - n.view.frameLeft),
                        200 * n.view.height / (n.view.frameBottom - n.view.frameTop));
    p.setPen(QPen(pal::fretSilver(), 5));
    QRadialGradient head(drum, radius.width());
    head.setColorAt(0.8, QColor(0xFF, 0xFC, 0xF2));
    head.setColorAt(1, pal::bone().darker(112));
    p.setBrush(head);
    p.drawEllipse(drum, radius.width(), radius.height());

    // Headstock with the four long strings' posts.
    const double headTop = n.topEdge(n.nut) - 6;
    const double headBottom = n.lines[3].yAt(n.nut) + 13.5;
    const QRectF headstock(QPointF(n.view.x(34), n.view.y(headTop)), QPointF(n.view.x(n.nut + 1), n.view.y(headBottom)));
    p.setPen(QPen(QColor(0x1A, 0x10, 0x0A), 1));
    p.setBrush(verticalGradient(headstock, pal::rosewoodLight(), pal::rosewood().darker(120)));
    p.drawRoundedRect(headstock, 16, 16);
    QPointF posts[4];
    for (int s = 0; s < 4; ++s)
        posts[s] = n.at(44 + 10 * s, n.lines[s].yAt(44 + 10 * s));

    // Fingerboard.
    QPolygonF board;
    for (int i = 0; i <= 60; ++i) {
        const double x = n.nut + (n.end - n.nut) * i / 60;
        board << n.at(x, n.topEdge(x));
    }
    for (int i = 60; i >= 0; --i) {
        const double x = n.nut + (n.end - n.nut) * i / 60;
        board << n.at(x, n.bottomEdge(x));
    }
    p.setPen(QPen(QColor(255, 230, 200, 60), 1));
    p.setBrush(verticalGradient(board.boundingRect(), pal::rosewoodLight(), pal::rosewood()));
    p.drawPolygon(board);

    // Inlays between the middle strings, a pair at the twelfth fret.
    const auto cell = [&](int fret) {
        return (tables::fretWireX(banjo, fret - 1) + tables::fretWireX(banjo, fret)) / 2;
    };
    const auto between = [&](int s, double x) { return (n.lines[s].yAt(x) + n.lines[s + 1].yAt(x)) / 2; };
    p.setPen(Qt::NoPen);
    p.setBrush(pal::bone());
    for (int fret : {3, 5, 7, 10, 15, 17, 19, 22}) {
        if (fret < int(banjo.fretSpotCount))
            p.drawEllipse(n.at(cell(fret), between(1, cell(fret))), 3.4, 3.4);
    }
    if (12 < int(banjo.fretSpotCount)) {
        p.drawEllipse(n.at(cell(12), between(0, cell(12))), 3.4, 3.4);
        p.drawEllipse(n.at(cell(12), between(2, cell(12))), 3.4, 3.4);
    }

    // Frets and the nut.
    p.setPen(QPen(pal::fretSilver(), 2));
    for (std::size_t k = 1; k < banjo.fretSpotCount; ++k) {
        const double x = tables::fretWireX(banjo, k);
        p.drawLine(n.at(x, n.topEdge(x) + 0.4), n.at(x, n.bottomEdge(x) - 0.4));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(pal::bone());
    p.drawRect(QRectF(n.at(n.nut - 2.4, n.topEdge(n.nut) - 0.5), n.at(n.nut + 2.4, n.lines[3].yAt(n.nut) + 8)));

    // Strings: four from their posts, the short one from its peg.
    const QColor steel(0xDD, 0xE0, 0xE3);
    for (int s = 0; s < 4; ++s) {
        p.setPen(QPen(QColor(0, 0, 0, 90), 2.2 + 0.3 * s, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(posts[s] + QPointF(0.6, 1.6), n.at(tables::kFrameWidth, n.lines[s].yAt(tables::kFrameWidth)) + QPointF(0.6, 1.6));
        p.setPen(QPen(s == 3 ? pal::string() : steel, 1.3 + 0.3 * s, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(posts[s], n.at(tables::kFrameWidth, n.lines[s].yAt(tables::kFrameWidth)));
    }
    const QPointF peg = n.at(n.peg - 4, n.lines[4].yAt(n.peg - 4));
    p.setPen(QPen(steel, 1.3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(peg, n.at(tables::kFrameWidth, n.lines[4].yAt(tables::kFrameWidth)));
    p.setPen(QPen(QColor(0x55, 0x55, 0x58), 0.8));
    p.setBrush(pal::fretSilver());
    p.drawEllipse(peg, 4, 4);
    for (const QPointF& post : posts)
        p.drawEllipse(post, 4.5, 4.5);
    p.restore();
}

// The marked spots of a note, in table order.
QVector<std::size_t> markedSpots(const char* note)
{
    QVector<std::size_t> spots;
    for (std::size_t i = 0; i < tables::kBanjo.spotCount; ++i) {
        if (tables::kBanjo.spots[i].marked && std::strcmp(tables::kBanjo.spots[i].note, note) == 0)
            spots << i;
    }
    return spots;
}

// A lit position, where the board's overlay marks it.
QPointF drawMark(QPainter& p, const Neck& n, std::size_t spot)
{
    const RIRurud::BoardMarks::MarkPlace mark = RIRurud::BoardMarks::markPlace(tables::kBanjo, spot);
    const QPointF at = n.at(mark.x, mark.y);
    positionMark(p, at, slides::kMarkRadius, slides::kMarkRadius);
    return at;
}

// ---------------------------------------------------------------------------------------------
// The staff panel: paper, the accidental buttons, the staff with its treble clef, the note and its
// name, as the banjo page shows them.

int halfLineOf(const char* natural)
{
    // A note of letter index i in octave o sits on half-line 58 - 7o - i (the staff's rule).
    const char* letters = "CDEFGAB";
    return 58 - 7 * (natural[1] - '0') - int(std::strchr(letters, natural[0]) - letters);
}

QString solfegeOf(const char* natural)
{
    const char* letters = "CDEFGAB";
    const char* names[] = {"do", "re", "mi", "fa", "sol", "la", "si"};
    return QLatin1String(names[std::strchr(letters, natural[0]) - letters]) + QLatin1Char(natural[1]);
}

// Returns the centre of the note head.
QPointF drawStaffPanel(QPainter& p, const QRectF& paper, const slides::StaffView& staff, const char* note,
                       bool showName)
{
    const RIRurud::StaffTables::Layout& layout = slides::kBanjoStaff->layout;
    paperCard(p, paper);

    const double lh = staff.lineHeight;
    const double buttonSide = qMin(32.0, lh * 2.2);
    const std::pair<QChar, bool> accidentals[] = {{QChar(0x266E), true}, {QChar(0x266F), false}, {QChar(0x266D), false}};
    for (int i = 0; i < 3; ++i) {
        const QRectF r(paper.left() + 12 + i * (buttonSide + 4), paper.top() + 8, buttonSide, buttonSide);
        face(p, r, QSizeF(32, 32), [&] { drawAccidental(p, accidentals[i].first, accidentals[i].second); });
    }

    // Lines: the treble staff across the staff's width, short ledger lines for the others.
    p.setPen(QPen(Qt::black, qMax(0.8, lh / 14)));
    for (int k = layout.startLine; k < layout.lines; ++k) {
        const double y = staff.lineY(k);
        const bool treble = !layout.noViolin && k >= 10 && k <= 14;
        const double half = treble ? staff.width / 2 : drawing::kShortLineHalf * lh;
        p.drawLine(QPointF(staff.centreX() - half, y), QPointF(staff.centreX() + half, y));
    }
    const double clefSide = drawing::kTrebleClefLines * lh;
    face(p, QRectF(staff.left, staff.lineY(drawing::kTrebleClefTopLine), clefSide, clefSide),
         QSizeF(drawing::kClefPictureSide, drawing::kClefPictureSide), [&] { paintTrebleClefPicture(p); });
    if (!note)
        return QPointF();

    // The note head's rectangle, as the staff computes it.
    const double u = lh * drawing::kNoteUnit;
    const double top = staff.top + (halfLineOf(note) * 0.5 - staff.translateLines - 0.5) * lh;
    const QRectF head(staff.centreX() - drawing::kNoteLeftFactor * lh, top, drawing::kNoteWidthFactor * lh, lh);
    face(p, head, QSizeF(drawing::kNotePictureWidth, drawing::kNotePictureHeight), [&] { paintNotePicture(p); });
    if (showName) {
        const QRectF label(paper.right() - 170, paper.top() + 6, 150, 40);
        p.setPen(Qt::black);
        p.setFont(pal::textFont(qMin(32.0, lh * 2.2)));
        p.drawText(label, Qt::AlignCenter, QLatin1String(note));
        p.setFont(pal::textFont(qMin(18.0, lh * 1.25)));
        p.drawText(label.translated(0, label.height() - 4), Qt::AlignHCenter | Qt::AlignTop,
                   QLatin1Char('(') + solfegeOf(note) + QLatin1Char(')'));
    }
    return QPointF(staff.centreX() + u * 0.1, top + lh / 2);
}

// ---------------------------------------------------------------------------------------------
// Look-alikes of the trainer's statistic bar, push buttons and report dialog.

// The statistic bar: green and red parts in proportion with the truncated percentage of right
// answers, over the bar's grey ground when there is nothing to show.
void drawLernBar(QPainter& p, const QRectF& r, int right, int wrong)
{
    QLinearGradient ground(r.topLeft(), r.bottomLeft());
    ground.setColorAt(0, QColor(20, 20, 20));
    ground.setColorAt(0.6, QColor(90, 90, 90));
    ground.setColorAt(1, QColor(20, 20, 20));
    p.fillRect(r, ground);
    if (right + wrong == 0)
        return;
    const float percent = float(right) * 100.0f / float(right + wrong);
    const double split = r.width() * double(percent) / 100.0;
    const auto part = [&](const QRectF& rect, const QColor& dark, const QColor& light) {
        QLinearGradient g(rect.topLeft(), rect.bottomLeft());
        g.setColorAt(0, dark);
        g.setColorAt(0.5, light);
        g.setColorAt(1, dark);
        p.fillRect(rect, g);
    };
    part(QRectF(r.left(), r.top(), split, r.height()), QColor(20, 90, 20), QColor(90, 220, 90));
    part(QRectF(r.left() + split, r.top(), r.width() - split, r.height()), QColor(90, 20, 20), QColor(220, 90, 90));
    p.setPen(Qt::white);
    p.setFont(pal::textFont(r.height() * 0.5));
    p.drawText(r, Qt::AlignCenter, QString::number(int(percent)) + QLatin1Char('%'));
}

void drawPushButton(QPainter& p, const QRectF& r, const QString& text, bool focus = false)
{
    QLinearGradient g(r.bottomLeft(), r.topLeft());
    g.setColorAt(0.1, focus ? QColor(90, 90, 90) : QColor(60, 60, 60));
    g.setColorAt(0.4, focus ? QColor(41, 41, 43) : QColor(30, 30, 30));
    g.setColorAt(1, focus ? QColor(90, 90, 90) : QColor(60, 60, 60));
    p.setPen(QPen(focus ? QColor(Qt::white) : QColor(Qt::gray), 1));
    p.setBrush(g);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
    p.setPen(focus ? QColor(Qt::white) : QColor(0xD3, 0xD3, 0xD3));
    p.setFont(pal::textFont(focus ? 20 : 14, QFont::Bold));
    p.drawText(r, Qt::AlignCenter, text);
}

// The dark ground of the application's dialogs, with their grey ridge border.
void drawDialogGround(QPainter& p, const QRectF& r)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawRoundedRect(r.translated(2, 5), 4, 4);
    QLinearGradient g(r.bottomRight(), r.topLeft());
    g.setColorAt(0, QColor(10, 10, 10));
    g.setColorAt(1, QColor(80, 80, 80));
    p.setPen(QPen(Qt::gray, 2));
    p.setBrush(g);
    p.drawRoundedRect(r.adjusted(1, 1, -1, -1), 2, 2);
}

// The report dialog at its own size (300 wide), one row a key: name, bar, right and wrong counts,
// then the Ok button.
void drawReportDialog(QPainter& p, const QPointF& origin, qreal zoom)
{
    const struct
    {
        const char* key;
        int right;
        int wrong;
    } rows[] = {{"A", 6, 2}, {"A#", 3, 3}, {"B", 7, 1}, {"C", 9, 0}, {"C#", 2, 4}, {"D", 8, 2}, {"E", 5, 1}, {"F#", 1, 3}};
    const int count = int(std::size(rows));
    const qreal width = 300, margin = 11, pitch = 30, bar = 24;
    const qreal height = margin + count * pitch + 6 + 32 + margin;
    p.save();
    p.translate(origin);
    p.scale(zoom, zoom);
    drawDialogGround(p, QRectF(0, 0, width, height));
    p.setFont(pal::textFont(12));
    for (int i = 0; i < count; ++i) {
        const qreal y = margin + i * pitch;
        p.setPen(Qt::white);
        p.setFont(pal::textFont(12));
        p.drawText(QRectF(margin, y, 30, bar), Qt::AlignLeft | Qt::AlignVCenter, QLatin1String(rows[i].key));
        drawLernBar(p, QRectF(45, y, 175, bar), rows[i].right, rows[i].wrong);
        p.setFont(pal::textFont(12));
        p.setPen(QColor(0x00, 0xFF, 0x00));
        p.drawText(QRectF(226, y, 24, bar), Qt::AlignCenter, QString::number(rows[i].right));
        p.setPen(QColor(0xFF, 0x00, 0x00));
        p.drawText(QRectF(256, y, 24, bar), Qt::AlignCenter, QString::number(rows[i].wrong));
    }
    drawPushButton(p, QRectF(margin, height - margin - 32, width - 2 * margin, 32), QStringLiteral("Ok"), true);
    p.restore();
}

// ---------------------------------------------------------------------------------------------
// The slides.

void drawSlideArt(QPainter& p, int index)
{
    const QRectF area(40, 136, 880, 330);
    const Neck neck = neckOf(slides::kNeck);
    const QRectF staffPaper(150, 138, 660, 172);
    switch (index) {
    case 0: {
        // The About box's logo, on the About box's ground.
        const QRectF box(area.center().x() - 150, area.top() + 10, 300, 310);
        drawDialogGround(p, box);
        drawAppLogo(p, QRectF(box.left() + 10, box.top() + 12, 280, 280));
        drawInstrument(p, Instrument::Banjo, QRectF(area.left() + 40, area.top() + 40, 240, 240), -20);
        drawInstrument(p, Instrument::Balalaika, QRectF(area.right() - 280, area.top() + 40, 240, 240), 20);
        break;
    }
    case 1: {
        const QRectF column(area.left() + 60, area.top(), 100, area.height());
        p.setPen(QPen(QColor(0x80, 0x80, 0x80), 2));
        p.setBrush(QColor(40, 40, 40));
        p.drawRect(column);
        const Instrument order[] = {Instrument::Banjo, Instrument::Balalaika, Instrument::Guitar, Instrument::Bass};
        const char* names[] = {"Banjo", "Balalaika", "Guitar", "Bass"};
        for (int i = 0; i < 4; ++i) {
            const QRectF tile(column.center().x() - 32, column.top() + 10 + i * 80, 64, 64);
            drawItemTile(p, tile, order[i], i == 0 ? TileState::Checked : TileState::Normal);
            p.setPen(Qt::white);
            p.setFont(pal::textFont(12));
            p.drawText(QRectF(column.left(), tile.bottom(), column.width(), 16), Qt::AlignCenter, QLatin1String(names[i]));
        }
        // The banjo page beside it: a staff above the fingerboard.
        const QRectF page(column.right() + 24, area.top(), area.right() - column.right() - 24, area.height());
        p.fillRect(page, QColor(0x26, 0x1E, 0x19));
        const QRectF paper(page.left() + 90, page.top() + 8, page.width() - 180, 176);
        drawStaffPanel(p, paper, {paper.left() + 70, paper.top() + 2.5, paper.width() - 140, 12.5, slides::kStaff.translateLines},
                       nullptr, false);
        const slides::NeckView small{30, 54, 800, 124, page.left() + 8, page.top() + 214, page.width() - 16, 108};
        drawNeck(p, neckOf(small));
        drawPointer(p, QPointF(column.center().x() + 16, column.top() + 56));
        break;
    }
    case 2: {
        const QPointF note = drawStaffPanel(p, staffPaper, slides::kStaff, kShownNote, true);
        drawNeck(p, neck);
        for (std::size_t spot : markedSpots(kShownNote))
            drawMark(p, neck, spot);
        drawPointer(p, note + QPointF(10, 4));
        break;
    }
    case 3: {
        drawStaffPanel(p, staffPaper, slides::kStaff, kShownNote, true);
        drawNeck(p, neck);
        const QVector<std::size_t> spots = markedSpots(kShownNote);
        const QPointF at = drawMark(p, neck, spots.value(kClickedPosition, spots.value(0)));
        // The note sounds.
        p.setPen(QPen(pal::warm(), 3, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        for (int w = 1; w <= 3; ++w)
            p.drawArc(QRectF(at.x() - 10 - w * 10, at.y() - 10 - w * 10, 20 + w * 20, 20 + w * 20), 25 * 16, 50 * 16);
        drawPointer(p, at + QPointF(3, 3));
        break;
    }
    case 4: {
        // The trainer above the board: counts, bar, the round button (now Stop) and the clock;
        // Training chosen on the board, which shows one position.
        const QRectF trainer(150, 138, 660, 130);
        paperCard(p, trainer);
        const QRectF row(trainer.left() + 120, trainer.top() + 10, trainer.width() - 240, 28);
        p.setFont(pal::textFont(14));
        p.setPen(QColor(0, 128, 0));
        p.drawText(row, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Right:0"));
        p.setPen(QColor(255, 0, 0));
        p.drawText(row, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Wrong:0"));
        drawPushButton(p, QRectF(row.center().x() - 55, row.top(), 110, 28), QStringLiteral("Full Report"));
        drawLernBar(p, QRectF(row.left(), row.bottom() + 4, row.width(), 24), 0, 0);
        const QRectF round(trainer.center().x() - 26, row.bottom() + 34, 52, 52);
        face(p, round, QSizeF(64, 64), [&] { drawRound(p, true); });
        p.setPen(Qt::white);
        p.setFont(pal::textFont(15, QFont::Bold));
        p.drawText(round, Qt::AlignCenter, QStringLiteral("Stop"));
        p.setPen(Qt::black);
        p.setFont(pal::textFont(20, QFont::Bold));
        p.drawText(QRectF(round.right() + 24, round.top(), 140, round.height()), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("00:00:01"));
        drawPointer(p, round.center() + QPointF(8, 10));

        drawNeck(p, neck);
        const double cx = area.center().x();
        face(p, QRectF(cx - 110, 280, 110, 34), QSizeF(96, 32), [&] { drawDual(p, true, false); });
        face(p, QRectF(cx, 280, 110, 34), QSizeF(96, 32), [&] { drawDual(p, false, true); });
        p.setPen(Qt::white);
        p.setFont(pal::textFont(15));
        p.drawText(QRectF(cx - 110, 280, 110, 34), Qt::AlignCenter, QStringLiteral("Find Note"));
        p.drawText(QRectF(cx, 280, 110, 34), Qt::AlignCenter, QStringLiteral("Training"));
        const QVector<std::size_t> spots = markedSpots(kTrainingNote);
        drawMark(p, neck, spots.value(kTrainingPosition, spots.value(0)));
        break;
    }
    case 5: {
        // The answer to step 5's question: the key of the trainer's note is the one pressed.
        const int answer = int(QStringLiteral("C D EF G A B").indexOf(QLatin1Char(kTrainingNote[0])))
            + (QByteArray(kTrainingNote).endsWith('#') ? 1 : 0);
        const slides::KeysView& keys = slides::kKeys;
        static const char* const names[] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
        for (bool black : {false, true}) {
            for (int s = 0; s < 12; ++s) {
                if (slides::KeysView::isBlack(s) != black)
                    continue;
                const QRectF r(keys.left(s), keys.top(s), keys.pitch - 4, keys.pitch - 4);
                face(p, r, QSizeF(44, 44), [&] { drawKey(p, black, s == answer ? KeyState::Hover : KeyState::Normal); });
                p.setFont(pal::textFont(black ? 18 : 20, QFont::Bold));
                p.setPen(black ? Qt::white : Qt::black);
                p.drawText(r, Qt::AlignCenter, QLatin1String(names[s]));
            }
        }
        drawPointer(p, QPointF(keys.left(answer) + keys.pitch / 2, keys.top(answer) + 40));
        card(p, QRectF(area.center().x() - 110, area.top() + 20, 220, 70), Qt::white);
        p.setFont(pal::textFont(34, QFont::Bold));
        p.setPen(Qt::black);
        p.drawText(QRectF(area.center().x() - 110, area.top() + 20, 220, 70), Qt::AlignCenter, "00:00:12");
        break;
    }
    case 6:
        drawReportDialog(p, QPointF(area.center().x() - 300 * 1.1 / 2, area.top()), 1.1);
        break;
    }
}

QImage drawSlide(int index, const SlideLanguage& lang, int scale)
{
    const QSize size(slides::kWidth, slides::kHeight);
    QImage image(size * scale, QImage::Format_RGB32);
    QPainter p(&image);
    prepareScaled(p, scale);
    const QRectF all(QPointF(0, 0), size);
    p.fillRect(all, verticalGradient(all, mix(pal::paper(), Qt::white, 0.4), pal::panel()));

    // Title band with the step counter.
    const QRectF band(0, 0, size.width(), 104);
    p.fillRect(band, verticalGradient(band, QColor(0x4E, 0x46, 0x3E), QColor(0x2A, 0x25, 0x21)));
    p.fillRect(QRectF(0, band.bottom() - 4, size.width(), 4), pal::accent());
    p.setPen(QPen(pal::bone(), 2));
    p.setBrush(pal::accent());
    p.drawEllipse(QPointF(62, 52), 28, 28);
    p.setFont(pal::textFont(28, QFont::Bold));
    p.setPen(Qt::white);
    p.drawText(QRectF(34, 24, 56, 56), Qt::AlignCenter, QString::number(index + 1));
    p.setFont(pal::textFont(34, QFont::Bold));
    p.setPen(pal::bone());
    p.drawText(QRectF(112, 12, 720, 60), Qt::AlignLeft | Qt::AlignVCenter, u8(lang.slides[index].title));
    p.setFont(pal::textFont(16));
    p.setPen(pal::disabled());
    p.drawText(QRectF(112, 62, 720, 28), Qt::AlignLeft | Qt::AlignVCenter, u8(lang.step).arg(index + 1).arg(7));

    drawSlideArt(p, index);

    // The text under the drawing.
    const QRectF textBox(70, 484, 820, 96);
    p.setFont(pal::textFont(23));
    p.setPen(pal::panelDark());
    p.drawText(textBox, Qt::AlignCenter | Qt::TextWordWrap, u8(lang.slides[index].body));
    return image;
}

IMAGEGEN_PRODUCER(drawIntroductionSlides)
{
    for (const SlideLanguage& lang : kSlideLanguages) {
        for (int i = 0; i < 7; ++i) {
            const QString name = QStringLiteral("TXLSlide%1_%2.jpg").arg(i).arg(QLatin1String(lang.code));
            sink.saveBundle(name, drawSlide(i, lang, 1));
            sink.saveBundle(ImageSink::withScale(name), drawSlide(i, lang, 2));
        }
    }
}

} // namespace

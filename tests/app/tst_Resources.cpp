// Every picture the program names is compiled in. The names are read from the sources of libs/ and
// app/ themselves, so a style sheet or a picture added anywhere later is held to this as well:
// - each url(:/...) of every style sheet, with its double-density twin at twice the size (the
//   sheet takes the twin on a dense screen);
// - each ":/..." path the code names. A name put together at run time (":/" + name + "_0@2x.jpg",
//   ":/%1.png") cannot be resolved from the source: it must match at least one compiled-in picture,
//   and the test lists it, with where it stands, for a reader to follow. Every board's pictures,
//   named that way, are checked one by one against its table in test_board_pictures.
#include "TestMain.h"

#include <QDirIterator>
#include <QFile>
#include <QImageReader>
#include <QRegularExpression>

namespace {

struct Literal
{
    QString text;    // adjacent literals joined, escapes resolved
    QString file;
    int line = 0;
    int token = 0;   // its place in Source::code
};

// A source with its comments removed and each string literal replaced by a token "\x01<n>\x02".
struct Source
{
    QString code;
    QVector<Literal> literals;
};

Source readSource(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    const QString text = QString::fromUtf8(file.readAll());
    // Comments, raw and plain string literals, character literals.
    static const QRegularExpression token(QStringLiteral(
        R"re(//[^\n]*|/\*[\s\S]*?\*/|R"([^(]*)\(([\s\S]*?)\)\1"|"((?:\\.|[^"\\])*)"|'(?:\\.|[^'\\])*')re"));
    Source source;
    const QString name = path.mid(QStringLiteral(TONARIX_SOURCE_DIR).size() + 1);
    int from = 0, line = 1;
    bool joinable = false;   // only blanks and comments since the last literal: "a" "b" is one
    for (auto it = token.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QString between = text.mid(from, m.capturedStart() - from);
        line += between.count(QLatin1Char('\n'));
        from = m.capturedEnd();
        joinable = joinable && between.trimmed().isEmpty();
        source.code += between;
        const QString whole = m.captured(0);
        if (whole.startsWith(QLatin1Char('/')) || whole.startsWith(QLatin1Char('\''))) {
            source.code += whole.startsWith(QLatin1Char('\'')) ? whole : QString();
            joinable = joinable && !whole.startsWith(QLatin1Char('\''));
        } else {
            const QString value = m.captured(2).isNull()
                ? m.captured(3).replace(QRegularExpression(QStringLiteral("\\\\(.)")), QStringLiteral("\\1"))
                : m.captured(2);
            if (joinable) {
                source.literals.last().text += value;
            } else {
                source.code += QStringLiteral("\x01%1\x02").arg(source.literals.size());
                source.literals.append({value, name, line, int(source.literals.size())});
            }
            joinable = true;
        }
        line += whole.count(QLatin1Char('\n'));
    }
    source.code += text.mid(from);
    return source;
}

QString patternOf(const QString& literal)
{
    // %1 .. %9 are filled in at run time.
    return QRegularExpression::escape(literal).replace(QRegularExpression(QStringLiteral("\\\\?%\\d")),
                                                       QStringLiteral("[^/]*"));
}

// The name a path literal starts, as a pattern: the literals joined by "+" to it, with whatever
// is not a literal standing for any text. Empty when the name is complete as written.
QString builtName(const Source& source, const Literal& literal)
{
    static const QRegularExpression literalOperand(QStringLiteral("^\\s*(?:\\w+\\s*\\(\\s*)?\\x01(\\d+)\\x02"));
    const QString token = QStringLiteral("\x01%1\x02").arg(literal.token);
    int at = source.code.indexOf(token) + token.size();
    QString pattern = patternOf(literal.text);
    bool built = literal.text.contains(QRegularExpression(QStringLiteral("%\\d")));
    for (;;) {
        while (at < source.code.size() && (source.code.at(at).isSpace() || source.code.at(at) == QLatin1Char(')')))
            ++at;
        if (at >= source.code.size() || source.code.at(at) != QLatin1Char('+'))
            break;
        built = true;
        ++at;
        const QRegularExpressionMatch next = literalOperand.match(source.code.midRef(at));
        if (next.hasMatch()) {
            pattern += patternOf(source.literals.at(next.captured(1).toInt()).text);
            at += next.capturedLength();
            continue;
        }
        pattern += QStringLiteral(".*");
        for (int depth = 0; at < source.code.size(); ++at) {
            const QChar c = source.code.at(at);
            if (c == QLatin1Char('(') || c == QLatin1Char('['))
                ++depth;
            else if ((c == QLatin1Char(')') || c == QLatin1Char(']')) && --depth < 0)
                break;
            else if (depth == 0 && QStringLiteral("+;,{}").contains(c))
                break;
        }
    }
    return built ? QLatin1Char('^') + pattern + QLatin1Char('$') : QString();
}

QString where(const Literal& literal)
{
    return QStringLiteral("%1:%2").arg(literal.file).arg(literal.line);
}

} // namespace

class TestResources : public QObject
{
    Q_OBJECT
private:
    QVector<Source> m_sources;
    QStringList m_compiled;

private slots:
    void initTestCase()
    {
        for (const char* folder : {"/libs", "/app"}) {
            QDirIterator files(QStringLiteral(TONARIX_SOURCE_DIR) + QLatin1String(folder),
                               {"*.cpp", "*.h", "*.qss", "*.css"}, QDir::Files, QDirIterator::Subdirectories);
            while (files.hasNext())
                m_sources.append(readSource(files.next()));
        }
        QVERIFY(m_sources.size() > 50);
        QDirIterator pictures(QStringLiteral(":/"), QDir::Files, QDirIterator::Subdirectories);
        while (pictures.hasNext())
            m_compiled << pictures.next();
        QVERIFY(m_compiled.size() > 100);
    }

    // Every picture a style sheet names, and its twin for dense screens at twice its size.
    void styleSheetPictures()
    {
        const QRegularExpression url(QStringLiteral("url\\(\\s*[\"']?(:/[^)\"']*)[\"']?\\s*\\)"));
        QStringList missing;
        int named = 0;
        for (const Source& source : qAsConst(m_sources)) {
            for (const Literal& literal : source.literals) {
                auto it = url.globalMatch(literal.text);
                while (it.hasNext()) {
                    const QString path = it.next().captured(1);
                    ++named;
                    const QSize size = QImageReader(path).size();
                    const QString twin = path.left(path.lastIndexOf('.')) + "@2x" + path.mid(path.lastIndexOf('.'));
                    if (!size.isValid())
                        missing << path + " (" + where(literal) + ")";
                    else if (QImageReader(twin).size() != size * 2)
                        missing << twin + " at twice the size (" + where(literal) + ")";
                }
            }
        }
        QVERIFY(named > 80);
        QVERIFY2(missing.isEmpty(), qPrintable("\n" + missing.join('\n')));
    }

    // Every ":/..." path the code names; a built name must match a compiled-in picture.
    void picturesTheCodeNames()
    {
        QStringList missing, built;
        int exact = 0;
        for (const Source& source : qAsConst(m_sources)) {
            for (const Literal& literal : source.literals) {
                if (!literal.text.startsWith(QLatin1String(":/")))
                    continue;
                const QString pattern = builtName(source, literal);
                if (!pattern.isEmpty()) {
                    const QRegularExpression re(pattern);
                    const int matches = m_compiled.filter(re).size();
                    built << QStringLiteral("%1  %2 matches  (%3)").arg(pattern).arg(matches).arg(where(literal));
                    if (matches == 0)
                        missing << pattern + " matches nothing (" + where(literal) + ")";
                    continue;
                }
                // A folder (no extension) is a place to look in, such as the translations'.
                if (!literal.text.section('/', -1).contains('.')) {
                    built << QStringLiteral("%1  a folder, %2  (%3)")
                                 .arg(literal.text, QDir(literal.text).exists() ? "present" : "absent", where(literal));
                    continue;
                }
                ++exact;
                if (!QFile::exists(literal.text))
                    missing << literal.text + " (" + where(literal) + ")";
            }
        }
        qInfo("%d pictures named in full; names put together at run time:\n  %s", exact,
              qPrintable(built.join(QStringLiteral("\n  "))));
        QVERIFY(exact > 20);
        QVERIFY2(missing.isEmpty(), qPrintable("\n" + missing.join('\n')));
    }
};

TONARIX_TEST_MAIN(TestResources)
#include "tst_Resources.moc"

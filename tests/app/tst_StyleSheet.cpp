// The application's style sheet is a sequence of rules, and it dresses the instrument column as the
// pair's state changes. (That every picture it names is compiled in is tst_Resources' part.)
#include "ItemsPanel.h"
#include "TonarixStyle.h"

#include "TestMain.h"

#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>

class TestStyleSheet : public QObject
{
    Q_OBJECT
private:
    static QStringList rules()
    {
        QStringList result;
        const QRegularExpression rule(QStringLiteral("([^{}]+)\\{([^{}]*)\\}"));
        auto it = rule.globalMatch(strTonarixStyle);
        while (it.hasNext())
            result << it.next().captured(0);
        return result;
    }

private slots:
    void rulesAndOrder()
    {
        const QStringList all = rules();
        QCOMPARE(all.size(), 135);
        // The whole sheet is made of rules: nothing stands between or after them.
        QCOMPARE(all.join(QString()), strTonarixStyle);
        QCOMPARE(all.first().section('{', 0, 0), QStringLiteral("QFrame#DecoratedNotesWidgetGuitar"));
        QCOMPARE(all.last().section('{', 0, 0), QStringLiteral("QPushButton::menu-indicator"));
        // A state rule follows its base rule.
        const auto indexOf = [&](const QString& selector) {
            for (int i = 0; i < all.size(); ++i) {
                if (all.at(i).section('{', 0, 0) == selector)
                    return i;
            }
            return -1;
        };
        QVERIFY(indexOf("QPushButton#BanjoItem") >= 0);
        QCOMPARE(indexOf("QPushButton#BanjoItem:hover"), indexOf("QPushButton#BanjoItem") + 1);
        QCOMPARE(indexOf("QPushButton#BanjoItem:checked"), indexOf("QPushButton#BanjoItem") + 2);
        QVERIFY(indexOf("QLabel") < indexOf("QLabel#SimpleText"));
    }

    // The sheet at work on the instrument column: the panel's dark ground and the button faces,
    // which follow the exclusive pair's state.
    void panelFollowsTheSheet()
    {
        qApp->setStyleSheet(strTonarixStyle);
        ItemsPanel panel;
        panel.resize(120, 640);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        const auto face = [](QPushButton* b) { return b->grab().toImage().convertToFormat(QImage::Format_RGB32); };
        const auto picture = [](const char* name) {
            QImage composed(64, 64, QImage::Format_RGB32);
            composed.fill(QColor(40, 40, 40));
            QPainter p(&composed);
            p.drawImage(0, 0, QImage(QString::fromLatin1(name)));
            return composed;
        };
        const auto near = [](const QImage& a, const QImage& b) {
            // Same picture: compare a grid of pixels, allowing for rounding in the blend.
            for (int y = 12; y < 52; y += 5)
                for (int x = 12; x < 52; x += 5) {
                    const QColor ca = a.pixelColor(x, y), cb = b.pixelColor(x, y);
                    if (qAbs(ca.red() - cb.red()) > 6 || qAbs(ca.green() - cb.green()) > 6 || qAbs(ca.blue() - cb.blue()) > 6)
                        return false;
                }
            return true;
        };
        auto* banjo = panel.findChild<QPushButton*>("BanjoItem");
        auto* balalaika = panel.findChild<QPushButton*>("BalalaikaItem");
        QVERIFY(near(face(banjo), picture(":/BanjoItem_checked.png")));
        QVERIFY(near(face(balalaika), picture(":/BalalaikaItem.png")));
        QTest::mouseClick(balalaika, Qt::LeftButton);
        QTest::mouseMove(&panel, QPoint(2, 630));   // away from every button
        QVERIFY(near(face(banjo), picture(":/BanjoItem.png")));
        QVERIFY(near(face(balalaika), picture(":/BalalaikaItem_checked.png")));
        QVERIFY(!near(picture(":/BanjoItem.png"), picture(":/BanjoItem_checked.png")));
        // The panel's own ground between the buttons.
        const QImage whole = panel.grab().toImage();
        QCOMPARE(whole.pixelColor(whole.width() - 6, 8), QColor(40, 40, 40));
        qApp->setStyleSheet(QString());
    }
};

TONARIX_TEST_MAIN(TestStyleSheet)
#include "tst_StyleSheet.moc"

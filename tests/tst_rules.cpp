// The toolkit-free rules with numbers.
#include "common/numeric.h"
#include "decision/coupling.h"
#include "settings/setupstrip.h"

#include <QtTest>
#include <limits>
#include <string>

using decision::FlagCounts;
using decision::Side;

class RulesTest : public QObject {
    Q_OBJECT

private slots:
    void numericValue_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("digits") << "12" << 12.0;
        QTest::newRow("leading blanks") << " 2" << 2.0;
        QTest::newRow("tab and blanks") << "\t 7x" << 7.0;
        QTest::newRow("fraction") << "1.25" << 1.25;
        QTest::newRow("only fraction") << ".5" << 0.5;
        QTest::newRow("comma stops") << "1,5" << 1.0;
        QTest::newRow("point without digits") << "5." << 5.0;
        QTest::newRow("second point stops") << "1.2.3" << 1.2;
        QTest::newRow("leading zeros") << "05" << 5.0;
        QTest::newRow("zero point zero") << "0.0" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("blanks only") << "   " << 0.0;
        QTest::newRow("letter first") << "x1" << 0.0;
        QTest::newRow("minus never read") << "-5" << 0.0;
        QTest::newRow("plus never read") << "+5" << 0.0;
        QTest::newRow("lone point") << "." << 0.0;
        QTest::newRow("blank inside stops") << "1 2" << 1.0;
        QTest::newRow("no exponent") << "1e3" << 1.0;
    }
    void numericValue()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(common::numericValue(text.toStdString()), value);
    }

    void numericValueStaysFinite()
    {
        const std::string huge(400, '9');
        QCOMPARE(common::numericValue(huge), std::numeric_limits<double>::max());
        const std::string tiny = "." + std::string(400, '0') + "1";
        QCOMPARE(common::numericValue(tiny), 0.0);
        QCOMPARE(common::numericValue(std::string(400, '0') + "3"), 3.0);
    }

    void coupling()
    {
        // counterpart(n, k) for k = 0..6: no button for 0 or above n.
        const int three[] = {0, 2, 1, 0, 0, 0, 0};
        const int five[] = {0, 4, 3, 2, 1, 0, 0};
        for (int k = 0; k <= 6; ++k) {
            QCOMPARE(decision::counterpart(3, k), three[k]);
            QCOMPARE(decision::counterpart(5, k), five[k]);
            QCOMPARE(decision::counterpart(4, k), 0); // no such panel
        }
        QCOMPARE(decision::couple(5, Side::Red, 1), (FlagCounts{1, 4}));
        QCOMPARE(decision::couple(5, Side::Blue, 1), (FlagCounts{4, 1}));
        QCOMPARE(decision::couple(5, Side::Red, 5), (FlagCounts{5, 0}));
        QCOMPARE(decision::couple(3, Side::Blue, 3), (FlagCounts{0, 3}));
        QCOMPARE(decision::couple(3, Side::Red, 4), (FlagCounts{0, 0}));
    }

    void setupStrip()
    {
        using settings::afterMenuOpen;
        using settings::afterToggle;
        QCOMPARE(afterToggle(5695)->outerHeight, 7800);
        QCOMPARE(afterToggle(5695)->caption, std::string_view("Close setup"));
        QCOMPARE(afterToggle(7800)->outerHeight, 5695);
        QCOMPARE(afterToggle(7800)->caption, std::string_view("Setup"));
        QCOMPARE(afterToggle(7001)->outerHeight, 5695);
        QCOMPARE(afterToggle(5999)->outerHeight, 7800);
        QVERIFY(!afterToggle(6000).has_value());
        QVERIFY(!afterToggle(7000).has_value());
        QCOMPARE(afterMenuOpen(5695)->outerHeight, 7800);
        QVERIFY(!afterMenuOpen(7800).has_value());
        QVERIFY(!afterMenuOpen(6000).has_value());
    }
};

QTEST_MAIN(RulesTest)
#include "tst_rules.moc"

#include <QTest>
#include <limits>
#include <stdexcept>

#include "app/window/NumericText.h"

using namespace quillon;

class NumericTextTest : public QObject {
    Q_OBJECT
private slots:
    void readsLeadingNumber_data();
    void readsLeadingNumber();
    void outOfRangeNumbers();
};

void NumericTextTest::readsLeadingNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    const std::pair<const char*, double> rows[] = {
        {" 1.5x", 1.5},       {"\t42", 42.0}, {"abc", 0.0},
        {"txt_centerX", 0.0}, {"", 0.0},      {"-2", -2.0},
        {"+7.25", 7.25},      {"1,5", 1.0},   {"1.2.3", 1.2},
        {"-.25", -0.25},      {"3.", 3.0},    {"-", 0.0},
        {".", 0.0},           {"2e3", 2.0},   {"1 2", 1.0},
        {"- 2", 0.0},         {"0.1", 0.1},   {"0000000000000000000000000001", 1.0},
    };
    for (const auto& [text, value] : rows)
        QTest::newRow(text) << QString::fromLatin1(text) << value;
    QTest::newRow("other digits") << QStringLiteral("\u0661\u0662") << 0.0;
}

void NumericTextTest::readsLeadingNumber() {
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(numericValueOfText(text), value);
}

// Too large for a double, or for single precision, is an overflow; too small reads as 0.
void NumericTextTest::outOfRangeNumbers() {
    const QString huge = QStringLiteral("1") + QString(400, u'0');
    QVERIFY_THROWS_EXCEPTION(std::overflow_error, numericValueOfText(huge));
    QVERIFY_THROWS_EXCEPTION(std::overflow_error, numericValueOfText(u'-' + huge));
    QCOMPARE(numericValueOfText(QStringLiteral("0.") + QString(400, u'0') + u'1'), 0.0);
    const float largest = std::numeric_limits<float>::max();
    QCOMPARE(singleFromDouble(double(largest)), largest);
    QCOMPARE(singleFromDouble(0.1), 0.1f);
    QVERIFY_THROWS_EXCEPTION(std::overflow_error, singleFromDouble(-1e39));
}

QTEST_GUILESS_MAIN(NumericTextTest)
#include "NumericTextTest.moc"

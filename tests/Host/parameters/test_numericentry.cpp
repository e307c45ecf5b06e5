// Typed numbers: formatting to patterns, the corrections and their messages
// when a field is left, spin-button steps with wrap-around (also from an
// emptied field), and the sorting of the percentile fields.
#include "NumericEntry.h"

#include <QTest>

namespace {
QString Assumed(const QString& reason, const QString& value) {
    return reason + "\rA value of " + value + " is being assumed.";
}
} // namespace

class TestNumericEntry : public QObject {
    Q_OBJECT

private slots:
    void format() {
        QCOMPARE(FormatNumberField(5, "###"), "  5");
        QCOMPARE(FormatNumberField(70, "#0"), "70");
        QCOMPARE(FormatNumberField(7, "00"), "07");
        QCOMPARE(FormatNumberField(0, "##"), " 0");
        QCOMPARE(FormatRealField(94.0f, "##0.0"), " 94.0");
        QCOMPARE(FormatRealField(94.0f, "##0.#"), "   94");
        QCOMPARE(FormatRealField(-0.25f, "#0.00"), "-0.25");
    }

    void validate() {
        const struct {
            const char *text, *pattern;
            qint16 minimum, maximum;
            const char *corrected, *reason, *assumed; // no reason: acceptable
        } cases[] = {
            {"", "###", 25, 150, " 25", "No value vas read in this field.", "25"},
            {"45", "#0", 1, 30, "30", "The number read was too large.", "30"},
            {" 0", "#0", 1, 99, " 1", "The number read was too small.", "1"},
            {"12", "#0", 1, 30, "12", nullptr, nullptr},
            {"5  ", "###", 1, 99, "  5", nullptr, nullptr}, // re-formatted
        };
        for (const auto& c : cases) {
            const EntryCheck check = ValidateNumberField(c.text, c.minimum, c.maximum, c.pattern);
            QCOMPARE(check.acceptable, !c.reason);
            QCOMPARE(check.text, c.corrected);
            QCOMPARE(check.message, c.reason ? Assumed(c.reason, c.assumed) : "");
            QCOMPARE(check.title, c.reason ? "Invalid Number Read" : "");
        }
    }

    void validateReal() {
        const EntryCheck high = ValidateRealField("120", 80.0f, 99.5f, "##0.0");
        QCOMPARE(high.text, " 99.5");
        QCOMPARE(high.message, Assumed("The number read was too large.", "99.5"));
        QVERIFY(ValidateRealField("80.0", 80.0f, 99.5f, "##0.0").acceptable);
        QCOMPARE(ValidateRealField(" ", 0.1f, 5.0f, "0.0").text, "0.1");

        const EntryCheck junk = CheckRealText("9..4", 94.0f, "##0.0");
        QCOMPARE(junk.text, " 94.0");
        QCOMPARE(junk.title, "Data Entry Error");
        QCOMPARE(junk.message, Assumed("An invalid value was read.", "94"));
        QVERIFY(CheckRealText("93.5", 94.0f, "##0.0").acceptable);
    }

    void step() {
        QCOMPARE(StepUp("23", 0, 23, "00"), "00");
        QCOMPARE(StepDown("0", 0, 23, "00"), "23");
        QCOMPARE(StepUp(" 9", 1, 30, "#0"), "10");
        QCOMPARE(StepDown("10", 1, 30, "#0"), "9"); // not right-aligned
        QCOMPARE(StepUp("", 1, 30, "#0"), "1");
        QCOMPARE(StepDown("", 1, 30, "#0"), "30");
        QCOMPARE(StepRealDown("94.0", 80.0f, 99.9f, 0.1f, "##0.0"), " 93.9");
        QCOMPARE(StepRealDown("80.0", 80.0f, 99.9f, 0.1f, "##0.0"), " 99.9");
        QCOMPARE(StepRealUp("99.8", 80.0f, 99.9f, 0.1f, "##0.0"), " 99.9");
        QCOMPARE(StepRealUp("99.9", 80.0f, 99.9f, 0.1f, "##0.0"), " 80.0");
        QCOMPARE(StepRealUp("", 80.0f, 99.9f, 0.1f, "##0.0"), " 80.0");
        QCOMPARE(StepRealDown("", 80.0f, 99.9f, 0.1f, "##0.0"), " 99.9");
    }

    void sortPercentiles() {
        QCOMPARE(SortPercentiles({50, 10, 90, 1, 99, 25, 75, 5}).toHex(), "01050a19324b5a63");
        QCOMPARE(SortPercentiles({90, 10, 50, 50, 1, 99, 25, 75}).toHex(), "010a1932324b5a63");
    }
};

QTEST_GUILESS_MAIN(TestNumericEntry)
#include "test_numericentry.moc"

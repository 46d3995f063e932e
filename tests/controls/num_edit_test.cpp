#include "controls/num_edit.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Sets the default locale for one test and restores the one before.
class LocaleScope {
public:
    explicit LocaleScope(const QLocale& locale) { QLocale::setDefault(locale); }
    ~LocaleScope() { QLocale::setDefault(before_); }

private:
    QLocale before_;
};

QLocale commaLocale() {
    return QLocale(QLocale::German, QLocale::Germany);
}
QLocale pointLocale() {
    return QLocale::c();
}

TEST(NumberSyntax, ReadsWholeTextsOrZero) {
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {
        {"2,5", 2.5}, {"2.5", 2.5}, {"2,5 ", 0},    {"-", 0},      {",5", 0.5},
        {"3,", 3},    {"1e2", 100}, {"1,2,3", 0},   {"", 0},       {"  -4,25", -4.25},
        {"+7", 7},    {"1,000", 1}, {"1E-2", 0.01}, {"1e", 0},     {"1e+", 0},
        {"abc", 0},   {" ", 0},     {"5x", 0},      {"-,5", -0.5}, {"1e999", 0},
        {"12 ", 0},   {"--1", 0},   {"1.5e1", 15},  {"0", 0},      {"007", 7},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(ReadNumberText(QString::fromUtf8(c.text)), c.value)
            << '"' << c.text << '"';
}

TEST(NumberSyntax, WritesFixedDecimalsWithTheLocaleSeparator) {
    EXPECT_EQ(WriteNumberText(16, 1, commaLocale()), "16,0");
    EXPECT_EQ(WriteNumberText(16, 1, pointLocale()), "16.0");
    EXPECT_EQ(WriteNumberText(9.0234, 1, commaLocale()), "9,0");
    EXPECT_EQ(WriteNumberText(1234567.891, 2, commaLocale()), "1234567,89");
    EXPECT_EQ(WriteNumberText(-2.25, 1, pointLocale()).left(3), "-2.");
    EXPECT_EQ(WriteNumberText(-0.01, 1, commaLocale()), "0,0");
    EXPECT_EQ(WriteNumberText(3.7, 0, commaLocale()), "4");
}

TEST(NumberSyntax, ALocaleWhoseSeparatorCannotBeReadBackWritesAPoint) {
    // Arabic writes "2٫5"; the field reads only "," and ".", so the value would be lost.
    const QLocale arabic(QLocale::Arabic, QLocale::Egypt);
    ASSERT_NE(arabic.decimalPoint(), QLatin1String(","));
    ASSERT_NE(arabic.decimalPoint(), QLatin1String("."));
    const QString written = WriteNumberText(2.5, 1, arabic);
    EXPECT_EQ(written, "2.5");
    EXPECT_EQ(ReadNumberText(written), 2.5);
}

TEST(NumberKeys, LetThroughOnlyTheCharactersOfANumber) {
    for (QChar c : QStringLiteral("0123456789,-.\b\t\r\x1b\x03\x16\x18\x1a\x7f"))
        EXPECT_TRUE(IsNumberKey(c)) << int(c.unicode());
    for (QChar c : QStringLiteral("a Z+e/;é€"))
        EXPECT_FALSE(IsNumberKey(c)) << int(c.unicode());
}

TEST(NumEdit, TypingDropsEverythingButNumberCharacters) {
    TNumEditQ field;
    field.setText("");
    QTest::keyClicks(&field, "1a -2+,3.x");
    EXPECT_EQ(field.text(), "1-2,3.");
    QTest::keyClick(&field, Qt::Key_Backspace);
    EXPECT_EQ(field.text(), "1-2,3");
}

TEST(NumEdit, DeleteWithTheTextTheXServerSendsRemovesACharacter) {
    TNumEditQ field;
    field.setText("12,5");
    field.setCursorPosition(0);
    for (Qt::KeyboardModifiers modifiers : {Qt::NoModifier, Qt::KeypadModifier}) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Delete, modifiers, QStringLiteral("\x7f"));
        QApplication::sendEvent(&field, &press);
    }
    EXPECT_EQ(field.text(), ",5");
}

TEST(NumEdit, NewFieldShowsZeroInTheLocale) {
    {
        LocaleScope scope(commaLocale());
        TNumEditQ field;
        EXPECT_EQ(field.text(), "0,0");
        EXPECT_EQ(field.width(), 81);
        EXPECT_EQ(field.Nkst(), 1);
    }
    LocaleScope scope(pointLocale());
    TNumEditQ field;
    EXPECT_EQ(field.text(), "0.0");
}

TEST(NumEdit, WritingValueFormatsAndSignalsOnlyRealChanges) {
    LocaleScope scope(commaLocale());
    TNumEditQ field;
    QSignalSpy changes(&field, &QLineEdit::textChanged);
    field.setValue(16);
    EXPECT_EQ(field.text(), "16,0");
    EXPECT_EQ(changes.count(), 1);
    field.setValue(16.04); // same text: nothing happens
    EXPECT_EQ(changes.count(), 1);
    field.setValue(9.0234);
    EXPECT_EQ(field.text(), "9,0");
    EXPECT_DOUBLE_EQ(field.Value(), 9.0);
    field.setNkst(2);
    EXPECT_EQ(field.text(), "9,0");
    field.setValue(field.Value());
    EXPECT_EQ(field.text(), "9,00");
}

TEST(NumEdit, WritingInAPointLocale) {
    LocaleScope scope(pointLocale());
    TNumEditQ field;
    field.setValue(16);
    EXPECT_EQ(field.text(), "16.0");
    field.setValue(9.0234);
    EXPECT_EQ(field.text(), "9.0");
}

// A field with another control beside it to take the focus, shown in a comma locale.
class NumEditBesideAnother : public testing::Test {
protected:
    void SetUp() override {
        other->move(0, 40);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    LocaleScope scope{commaLocale()};
    QWidget window;
    TNumEditQ* field = new TNumEditQ(&window);
    QLineEdit* other = new QLineEdit(&window);
};

TEST_F(NumEditBesideAnother, LeavingTheFieldNormalisesItsText) {

    struct Case {
        const char* typed;
        const char* left;
    };
    for (Case c :
         {Case{"1,2,3", "0,0"}, Case{"2.5", "2,5"}, Case{"2,46", "2,5"}, Case{"-", "0,0"}}) {
        field->setFocus();
        field->setText(c.typed);
        QSignalSpy exits(field, &QLineEdit::editingFinished);
        other->setFocus();
        QApplication::processEvents();
        EXPECT_EQ(field->text(), c.left) << c.typed;
        EXPECT_EQ(exits.count(), 1) << c.typed;
    }
}

TEST_F(NumEditBesideAnother, ItsOwnContextMenuLeavesTheTextAsTyped) {
    field->setFocus();
    field->setText("3.75");

    QString textWhileOpen;
    QTimer::singleShot(50, field, [&] {
        textWhileOpen = field->text();
        if (QWidget* menu = QApplication::activePopupWidget())
            menu->close();
    });
    QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(5, 5),
                              field->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(field, &request);
    QTest::qWait(100);
    EXPECT_EQ(textWhileOpen, "3.75");
    EXPECT_EQ(field->text(), "3.75");

    other->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(field->text(), "3,8");
}

} // namespace

// Our lazy document layout against Qt's own. The same typing, moving,
// selecting and scrolling must leave the same caret, scroll bars and pixels;
// the text control's own mouse handling must select what Qt's would; random
// edits and their undo must leave the paragraphs where Qt puts them; and an
// edit in a big document must stay local to what is shown.
#include "LayoutTwins.h"
#include "TestEnvironment.h"
#include "document/LazyTextLayout.h"
#include "document/RichTextBox.h"

#include <QRandomGenerator>
#include <QTestEventList>
#include <QTextDocument>
#include <algorithm>
#include <functional>

namespace {

enum Wrap { NoWrap, WidgetWidth, Fixed200 };
enum Decoration { Plain = 0, TabStops = 1, MixedFonts = 2 };

QString prose()
{
    return QStringLiteral(
        "The quick brown fox jumps over the lazy dog, then the dog wakes up and chases the fox across the "
        "meadow until both are tired.\n"
        "Short line.\n"
        "\n"
        "Column\tone\ttwo\tthree\n"
        "Name\tSize\tModified\n"
        "Pneumonoultramicroscopicsilicovolcanoconiosis_and_more_letters_without_any_place_to_break\n"
        "Another paragraph of ordinary words that is long enough to wrap at least once in a narrow window.\n"
        "Last");
}

// Taller than the window, every line narrower than it.
QString manyLines()
{
    QStringList lines;
    for (int n = 0; n < 80; ++n)
        lines << QStringLiteral("Line %1 ").arg(n) + QStringLiteral("ipsum ").repeated(n % 9).trimmed();
    return lines.join(u'\n');
}

// Far wider than the window, all of it on screen at once.
QString longLines()
{
    QStringList lines;
    for (int n = 0; n < 6; ++n)
        lines << QStringLiteral("Paragraph %1: ").arg(n)
                     + QStringLiteral("a rather long line that keeps on going ").repeated(5 + n).trimmed();
    return lines.join(u'\n');
}

void select(QTextCursor& cursor, const QString& text)
{
    const int at = cursor.document()->toPlainText().indexOf(text);
    QVERIFY2(at >= 0, qPrintable(text));
    cursor.setPosition(at);
    cursor.setPosition(at + int(text.size()), QTextCursor::KeepAnchor);
}

void decorate(QTextDocument* doc, int decoration)
{
    QTextCursor cursor(doc);
    if (decoration & TabStops) {
        // Some paragraphs have stops of every kind, others none.
        const QList<QList<QTextOption::Tab>> stops = {
            {{60, QTextOption::LeftTab}, {200, QTextOption::RightTab}, {280, QTextOption::CenterTab}},
            {{100, QTextOption::LeftTab}, {150, QTextOption::LeftTab}},
        };
        int used = 0;
        for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
            if (block.blockNumber() % 3 == 1)
                continue;
            QTextBlockFormat format = block.blockFormat();
            format.setTabPositions(stops[used++ % stops.size()]);
            cursor.setPosition(block.position());
            cursor.setBlockFormat(format);
        }
    }
    if (decoration & MixedFonts) {
        QTextCharFormat big;
        big.setFontPointSize(16);
        big.setFontWeight(QFont::Bold);
        QTextCharFormat small;
        small.setFontPointSize(7);
        small.setFontItalic(true);
        QTextCharFormat huge;
        huge.setFontPointSize(22);
        const QString text = doc->toPlainText();
        const QList<QPair<QString, QTextCharFormat>> ranges = {
            {QStringLiteral("brown fox jumps"), big},
            {QStringLiteral("Line 3 ipsum"), big},
            {QStringLiteral("Paragraph 1: a rather"), big},
            {QStringLiteral("three\nName"), small},  // across a paragraph end
            {QStringLiteral("ordinary words"), huge},
            {QStringLiteral("Line 5 ipsum ipsum"), huge},
        };
        for (const auto& [what, format] : ranges) {
            if (!text.contains(what))
                continue;
            select(cursor, what);
            cursor.mergeCharFormat(format);
        }
    }
}

QTextEdit* makeEditor(Wrap wrap, bool lazy)
{
    auto* edit = new QTextEdit;
    edit->setAcceptRichText(false);
    edit->setFont(twins::controlFont());
    switch (wrap) {
    case NoWrap: edit->setLineWrapMode(QTextEdit::NoWrap); break;
    case WidgetWidth: edit->setLineWrapMode(QTextEdit::WidgetWidth); break;
    case Fixed200:
        edit->setLineWrapMode(QTextEdit::FixedPixelWidth);
        edit->setLineWrapColumnOrWidth(200);
        break;
    }
    if (lazy)
        LazyTextLayout::install(edit);
    return edit;
}

// Keys as a person types them: a moment between keys lets posted paints
// and size notices run.
class Keys {
public:
    Keys& type(const QString& text)
    {
        for (const QChar c : text) {
            m_events.addKeyClick(c.toLatin1());
            m_events.addDelay(1);
        }
        return *this;
    }
    Keys& press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, int times = 1)
    {
        for (int i = 0; i < times; ++i) {
            m_events.addKeyClick(key, modifiers);
            m_events.addDelay(1);
        }
        return *this;
    }
    operator QTestEventList() const { return m_events; }

private:
    QTestEventList m_events;
};

constexpr auto Shift = Qt::ShiftModifier;
constexpr auto Ctrl = Qt::ControlModifier;

// ---- mouse gestures ---------------------------------------------------------

struct Pointer {
    enum Action { Press, ShiftPress, Move, Release, Click, DoubleClick, DoubleClickHeld };
    Action action;
    QPoint at;
    // Or a point on a word of the text, `along` its width from its start.
    QString word = QString();
    qreal along = 0;
};
using Gesture = QList<Pointer>;

Pointer onWord(Pointer::Action action, const QString& word, qreal along)
{
    return {action, QPoint(), word, along};
}

QPoint resolve(const QTextEdit* edit, const Pointer& step)
{
    if (step.word.isEmpty())
        return step.at;
    const int at = int(edit->toPlainText().indexOf(step.word));
    QTextCursor cursor(edit->document());
    cursor.setPosition(at);
    const QRect start = edit->cursorRect(cursor);
    cursor.setPosition(at + int(step.word.size()));
    const QRect end = edit->cursorRect(cursor);
    return QPoint(start.x() + qRound(step.along * (end.x() - start.x())), start.center().y());
}

// `reference` places the word targets: both editors show the text alike.
void perform(QTextEdit* edit, const Gesture& gesture, const QTextEdit* reference)
{
    QWidget* viewport = edit->viewport();
    for (const Pointer& step : gesture) {
        const QPoint at = resolve(reference, step);
        switch (step.action) {
        case Pointer::Press: QTest::mousePress(viewport, Qt::LeftButton, {}, at); break;
        case Pointer::ShiftPress: QTest::mousePress(viewport, Qt::LeftButton, Shift, at); break;
        case Pointer::Move: QTest::mouseMove(viewport, at); break;
        case Pointer::Release: QTest::mouseRelease(viewport, Qt::LeftButton, {}, at); break;
        case Pointer::Click: QTest::mouseClick(viewport, Qt::LeftButton, {}, at); break;
        case Pointer::DoubleClick:
        case Pointer::DoubleClickHeld:
            // What a mouse sends: press, release, then the second press as a double-click.
            QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
            QTest::mouseDClick(viewport, Qt::LeftButton, {}, at);
            if (step.action == Pointer::DoubleClick)
                QTest::mouseRelease(viewport, Qt::LeftButton, {}, at);
            break;
        }
    }
}

// ---- what the user sees ------------------------------------------------------

struct View {
    QString selection, vertical, horizontal;
    QImage pixels;
    int idleLayouts = 0;  // paragraphs our layout lays out while nothing happens
};

View look(QTextEdit* edit)
{
    twins::settle(edit);
    View view;
    view.selection = twins::selectionOf(edit);
    view.vertical = twins::scrollOf(edit->verticalScrollBar());
    view.horizontal = twins::scrollOf(edit->horizontalScrollBar());
    view.pixels = twins::snapshot(edit);
    if (auto* lazy = qobject_cast<LazyTextLayout*>(edit->document()->documentLayout())) {
        lazy->resetLayoutsDone();
        QTest::qWait(20);
        view.idleLayouts = lazy->layoutsDone();
    }
    return view;
}

void compare(const View& ours, const View& theirs)
{
    const QString pixels = twins::pixelDifference(ours.pixels, theirs.pixels, QString::fromLatin1(QTest::currentDataTag()));
    QCOMPARE(ours.selection, theirs.selection);
    QCOMPARE(ours.vertical, theirs.vertical);
    QCOMPARE(ours.horizontal, theirs.horizontal);
    QVERIFY2(pixels.isEmpty(), qPrintable(pixels));
    QCOMPARE(ours.idleLayouts, 0);
}

// ---- random edits -----------------------------------------------------------

QString randomWords(QRandomGenerator& random, int count)
{
    static const QStringList words = {
        QStringLiteral("a"),      QStringLiteral("layout"),  QStringLiteral("paragraph"), QStringLiteral("of"),
        QStringLiteral("text"),   QStringLiteral("wrapping"), QStringLiteral("\t"),       QStringLiteral("the"),
        QStringLiteral("Extraordinarily_long_identifier_without_spaces"), QStringLiteral("x"),
        QStringLiteral("caret"),  QStringLiteral("WIDE"),    QStringLiteral("iiii"),      QStringLiteral("mmmm"),
    };
    QStringList out;
    for (int i = 0; i < count; ++i)
        out << words[random.bounded(int(words.size()))];
    return out.join(u' ');
}

void configureDocument(QTextDocument* doc, qreal pageWidth)
{
    doc->setDefaultFont(twins::controlFont());
    QTextOption option = doc->defaultTextOption();
    option.setWrapMode(pageWidth > 0 ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    doc->setDefaultTextOption(option);
    // A page width of 0 is what the text edit gives a layout that does not wrap.
    doc->setPageSize(QSizeF(pageWidth, -1));
}

// One random edit, done the same way on both documents.
void randomEdit(QRandomGenerator& random, QTextDocument& ours, QTextDocument& theirs)
{
    const int length = ours.characterCount() - 1;
    const int at = random.bounded(length + 1);
    std::function<void(QTextCursor&)> edit;
    switch (random.bounded(12)) {
    case 0:
    case 1:
    case 2: {
        const QString words = randomWords(random, 1 + random.bounded(12));
        edit = [=](QTextCursor& c) { c.setPosition(at); c.insertText(words + u' '); };
        break;
    }
    case 3:
    case 4: {
        QString text = randomWords(random, random.bounded(6));
        for (int breaks = 1 + random.bounded(3); breaks > 0; --breaks)
            text += u'\n' + randomWords(random, random.bounded(10));
        edit = [=](QTextCursor& c) { c.setPosition(at); c.insertText(text); };
        break;
    }
    case 5:
    case 6: {
        const int end = std::min(length, at + 1 + random.bounded(80));
        edit = [=](QTextCursor& c) {
            c.setPosition(at);
            c.setPosition(end, QTextCursor::KeepAnchor);
            c.removeSelectedText();
        };
        break;
    }
    case 7: {  // Delete at a paragraph's end: joins it with the next
        const QTextBlock block = ours.findBlock(at);
        const int end = block.position() + block.length() - 1;
        edit = [=](QTextCursor& c) { c.setPosition(end); c.deleteChar(); };
        break;
    }
    case 8:
    case 9: {
        const int end = std::min(length, at + random.bounded(60));
        QTextCharFormat format;
        switch (random.bounded(4)) {
        case 0: format.setFontPointSize(16); format.setFontWeight(QFont::Bold); break;
        case 1: format.setFontPointSize(7); break;
        case 2: format.setFontPointSize(26); format.setFontItalic(true); break;
        default: break;  // back to the default
        }
        edit = [=](QTextCursor& c) {
            c.setPosition(at);
            c.setPosition(end, QTextCursor::KeepAnchor);
            c.setCharFormat(format);
        };
        break;
    }
    default: {
        QList<QTextOption::Tab> tabs;
        for (int n = random.bounded(4); n > 0; --n)
            tabs.append(QTextOption::Tab(10 + random.bounded(300), QTextOption::LeftTab));
        std::sort(tabs.begin(), tabs.end(), [](const auto& a, const auto& b) { return a.position < b.position; });
        edit = [=](QTextCursor& c) {
            c.setPosition(at);
            QTextBlockFormat format = c.blockFormat();
            format.setTabPositions(tabs);
            c.setBlockFormat(format);
        };
        break;
    }
    }
    for (QTextDocument* doc : {&ours, &theirs}) {
        QTextCursor cursor(doc);
        edit(cursor);
    }
}

// The first of many points where the two layouts' hit tests differ. The
// points are pixel centres, as mouse positions on screen are: exactly on a
// paragraph's top edge the two disagree (see TopPixelRow).
QString hitDifference(QRandomGenerator& random, const QTextDocument& ours, const QTextDocument& theirs)
{
    const QSizeF size = theirs.documentLayout()->documentSize();
    for (int i = 0; i < 300; ++i) {
        const QPointF point(random.bounded(size.width() + 20) - 10,
                            random.bounded(int(size.height()) + 20) - 10 + 0.5);
        for (const Qt::HitTestAccuracy accuracy : {Qt::FuzzyHit, Qt::ExactHit}) {
            const int a = ours.documentLayout()->hitTest(point, accuracy);
            const int b = theirs.documentLayout()->hitTest(point, accuracy);
            if (a != b) {
                QString text;
                QDebug(&text).nospace() << (accuracy == Qt::FuzzyHit ? "fuzzy" : "exact") << " hit at " << point
                                        << ": ours " << a << ", Qt's " << b;
                return text;
            }
        }
    }
    return QString();
}

}  // namespace

Q_DECLARE_METATYPE(Gesture)

class TestLazyLayout : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // A steady caret: both editors are photographed with it shown.
        QApplication::setCursorFlashTime(0);
    }

    // ---- layout level: the same QTextEdit over both layouts ---------------

    void keyboard_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("wrap");
        QTest::addColumn<int>("decoration");
        QTest::addColumn<QTestEventList>("events");
        auto row = [](const char* name, const QString& text, Wrap wrap, int decoration, const Keys& keys) {
            QTest::newRow(name) << text << int(wrap) << decoration << QTestEventList(keys);
        };

        // typing and joining
        row("typing at the start", prose(), NoWrap, Plain, Keys().type(QStringLiteral("Hello, ")));
        row("typing makes a line wrap", prose(), WidgetWidth, Plain,
            Keys().press(Qt::Key_Down).press(Qt::Key_End).type(QStringLiteral(" More words so that this one wraps too")));
        row("Enter splits a wrapped paragraph", prose(), WidgetWidth, Plain,
            Keys().press(Qt::Key_Right, {}, 10).press(Qt::Key_Return).type(QStringLiteral("new")));
        row("Enter at the end of the text", prose(), NoWrap, Plain,
            Keys().press(Qt::Key_End, Ctrl).press(Qt::Key_Return, {}, 2).type(QStringLiteral("x")));
        row("Backspace joins paragraphs", prose(), WidgetWidth, Plain,
            Keys().press(Qt::Key_Down, {}, 4).press(Qt::Key_Home).press(Qt::Key_Backspace, {}, 3));
        row("Backspace joins into a wrapped paragraph", prose(), Fixed200, Plain,
            Keys().press(Qt::Key_Down, {}, 8).press(Qt::Key_Home).press(Qt::Key_Backspace, {}, 2));
        row("Delete joins paragraphs", prose(), Fixed200, Plain,
            Keys().press(Qt::Key_End).press(Qt::Key_Delete, {}, 2).type(QStringLiteral("!")));
        row("Backspace inside a word", prose(), NoWrap, Plain,
            Keys().press(Qt::Key_Right, {}, 9).press(Qt::Key_Backspace, {}, 4));

        // moving
        row("Down through wrapped lines", prose(), WidgetWidth, Plain,
            Keys().press(Qt::Key_Right, {}, 20).press(Qt::Key_Down, {}, 5));
        row("Up from the end through wrapped lines", prose(), Fixed200, Plain,
            Keys().press(Qt::Key_End, Ctrl).press(Qt::Key_Up, {}, 9));
        row("Home and End on a wrapped line", prose(), Fixed200, Plain,
            Keys().press(Qt::Key_Down).press(Qt::Key_End).press(Qt::Key_Left).press(Qt::Key_Home).press(Qt::Key_End));
        row("Page Down", manyLines(), WidgetWidth, Plain, Keys().press(Qt::Key_PageDown, {}, 2));
        row("Page Down then Page Up", manyLines(), NoWrap, Plain,
            Keys().press(Qt::Key_PageDown, {}, 3).press(Qt::Key_PageUp));
        row("Page Down with wrapped lines", manyLines(), Fixed200, Plain, Keys().press(Qt::Key_PageDown, {}, 2));
        row("Ctrl+End", manyLines(), NoWrap, Plain, Keys().press(Qt::Key_End, Ctrl));
        row("Ctrl+End with wrapped lines", manyLines(), Fixed200, Plain, Keys().press(Qt::Key_End, Ctrl));
        row("Ctrl+End then Ctrl+Home", manyLines(), WidgetWidth, Plain,
            Keys().press(Qt::Key_End, Ctrl).press(Qt::Key_Home, Ctrl));
        row("Ctrl+End, Page Up and typing", manyLines(), Fixed200, Plain,
            Keys().press(Qt::Key_End, Ctrl).press(Qt::Key_PageUp).type(QStringLiteral("abc")));

        // selecting
        row("Shift+Right within a line", prose(), NoWrap, Plain, Keys().press(Qt::Key_Right, Shift, 12));
        row("Shift+End then past the paragraph end", prose(), WidgetWidth, Plain,
            Keys().press(Qt::Key_Down, {}, 3).press(Qt::Key_End, Shift).press(Qt::Key_Right, Shift));
        row("Shift+Down across paragraphs", prose(), WidgetWidth, Plain,
            Keys().press(Qt::Key_Right, {}, 4).press(Qt::Key_Down, Shift, 5));
        row("Shift+Up across empty paragraphs", prose(), NoWrap, Plain,
            Keys().press(Qt::Key_Down, {}, 4).press(Qt::Key_End).press(Qt::Key_Up, Shift, 3));
        row("select all", prose(), Fixed200, Plain, Keys().press(Qt::Key_A, Ctrl));
        row("Shift+Page Down", manyLines(), WidgetWidth, Plain, Keys().press(Qt::Key_PageDown, Shift));

        // tab stops of the paragraph
        row("tab stops per paragraph", prose(), NoWrap, TabStops, Keys().press(Qt::Key_Down, {}, 3));
        row("typing tabs", prose(), NoWrap, TabStops,
            Keys().press(Qt::Key_Down, {}, 4).press(Qt::Key_End).type(QStringLiteral("\tx\ty\tz")));
        row("typing tabs in a paragraph without stops", prose(), WidgetWidth, TabStops,
            Keys().press(Qt::Key_Down).type(QStringLiteral("\ta\tb")));
        row("tabs, selected", prose(), WidgetWidth, TabStops,
            Keys().press(Qt::Key_Down, {}, 3).press(Qt::Key_Down, Shift, 2).press(Qt::Key_End, Shift));

        // wrapping
        row("fixed width breaks a long word", prose(), Fixed200, Plain,
            Keys().press(Qt::Key_Down, {}, 6).press(Qt::Key_End));
        row("window width breaks a long word", prose(), WidgetWidth, Plain,
            Keys().press(Qt::Key_Down, {}, 5).press(Qt::Key_End).press(Qt::Key_Up));
        // Qt's layout knows the widest line of the whole document, ours only
        // of the lines laid out so far: these documents are small enough to
        // be painted whole, so both know every line.
        row("no wrap: End scrolls right", longLines(), NoWrap, Plain,
            Keys().press(Qt::Key_Down, {}, 3).press(Qt::Key_End));
        row("no wrap: typing at a long line's end", longLines(), NoWrap, Plain,
            Keys().press(Qt::Key_Down, {}, 5).press(Qt::Key_End).type(QStringLiteral(" and more")));
        row("no wrap: back to the start", longLines(), NoWrap, Plain,
            Keys().press(Qt::Key_End).press(Qt::Key_Down).press(Qt::Key_Home));
        row("no wrap: deleting the widest line", longLines(), NoWrap, Plain,
            Keys().press(Qt::Key_End, Ctrl).press(Qt::Key_Home, Shift).press(Qt::Key_Delete));

        // characters of other sizes
        row("bigger fonts change line heights", prose(), WidgetWidth, MixedFonts,
            Keys().press(Qt::Key_Down, {}, 3).press(Qt::Key_Up));
        row("bigger fonts, selection", prose(), WidgetWidth, MixedFonts,
            Keys().press(Qt::Key_Right, {}, 3).press(Qt::Key_Down, Shift, 4));
        row("bigger fonts, typing inside", prose(), Fixed200, MixedFonts,
            Keys().press(Qt::Key_Right, {}, 12).type(QStringLiteral("big words")).press(Qt::Key_Down, {}, 2));
        row("bigger fonts, no wrap", longLines(), NoWrap, MixedFonts,
            Keys().press(Qt::Key_Down).press(Qt::Key_End).press(Qt::Key_Down));
        row("bigger fonts, Page Down", manyLines(), Fixed200, MixedFonts | TabStops,
            Keys().press(Qt::Key_PageDown).press(Qt::Key_Down, {}, 3));
    }

    void keyboard()
    {
        QFETCH(QString, text);
        QFETCH(int, wrap);
        QFETCH(int, decoration);
        QFETCH(QTestEventList, events);

        twins::SideBySide pair(makeEditor(Wrap(wrap), true), makeEditor(Wrap(wrap), false));
        for (QTextEdit* edit : {pair.ours, pair.theirs}) {
            edit->setPlainText(text);
            decorate(edit->document(), decoration);
        }
        QVERIFY(pair.show());
        View views[2];
        for (int side : {0, 1}) {
            QTextEdit* edit = side == 0 ? pair.ours : pair.theirs;
            twins::SideBySide::take(edit);
            events.simulate(edit);
            views[side] = look(edit);
        }
        QCOMPARE(pair.ours->toPlainText(), pair.theirs->toPlainText());
        compare(views[0], views[1]);
    }

    // ---- mouse: the text control against Qt's own control -----------------

    void mouse_data()
    {
        QTest::addColumn<int>("rightMargin");
        QTest::addColumn<Gesture>("gesture");
        const int noWrap = RichTextBox::NoWrapMargin;
        const int window = 0;  // wraps at the window's width
        auto row = [](const char* name, int margin, const Gesture& gesture) {
            QTest::newRow(name) << margin << gesture;
        };
        using P = Pointer;
        // Paragraph n of the text, unwrapped, is the line from y = 4 + 15 n.
        row("click inside a word", noWrap, {{P::Click, {30, 10}}});
        row("click past a line's end", noWrap, {{P::Click, {390, 25}}});
        row("click below the text", noWrap, {{P::Click, {100, 280}}});
        row("click in the left margin", noWrap, {{P::Click, {1, 55}}});
        row("click on an empty paragraph", noWrap, {{P::Click, {200, 40}}});
        row("click on a paragraph's top pixel row", noWrap, {{P::Click, {40, 19}}});
        row("shift-click extends forwards", noWrap,
            {{P::Click, {30, 10}}, {P::ShiftPress, {120, 70}}, {P::Release, {120, 70}}});
        row("shift-click extends backwards", noWrap,
            {{P::Click, {120, 70}}, {P::ShiftPress, {30, 10}}, {P::Release, {30, 10}}});
        row("drag within a line", noWrap,
            {{P::Press, {20, 10}}, {P::Move, {40, 10}}, {P::Move, {80, 10}}, {P::Move, {121, 11}},
             {P::Release, {121, 11}}});
        row("drag across paragraphs and back", noWrap,
            {{P::Press, {100, 10}}, {P::Move, {100, 40}}, {P::Move, {200, 70}}, {P::Move, {50, 100}},
             {P::Move, {60, 25}}, {P::Release, {60, 25}}});
        row("drag upwards past the anchor", noWrap,
            {{P::Press, {150, 100}}, {P::Move, {100, 70}}, {P::Move, {20, 12}}, {P::Release, {20, 12}}});
        row("drag past line ends", noWrap,
            {{P::Press, {10, 25}}, {P::Move, {390, 25}}, {P::Move, {390, 40}}, {P::Release, {390, 40}}});
        row("drag below the text", noWrap, {{P::Press, {60, 70}}, {P::Move, {60, 200}}, {P::Release, {60, 200}}});
        row("click inside a selection", noWrap,
            {{P::Press, {10, 10}}, {P::Move, {200, 10}}, {P::Release, {200, 10}}, {P::Click, {100, 10}}});
        row("double-click a word", noWrap, {{P::DoubleClick, {45, 10}}});
        row("double-click a tab", noWrap, {{P::DoubleClick, {60, 55}}});
        row("double-click an empty paragraph", noWrap, {{P::DoubleClick, {50, 40}}});
        row("double-click past a line's end", noWrap, {{P::DoubleClick, {300, 25}}});
        row("double-click and drag forward, past a word's middle", noWrap,
            {onWord(P::DoubleClickHeld, "quick", 0.5), onWord(P::Move, "brown", 0.5), onWord(P::Move, "over", 0.8),
             onWord(P::Release, "over", 0.8)});
        row("double-click and drag forward, before a word's middle", noWrap,
            {onWord(P::DoubleClickHeld, "quick", 0.5), onWord(P::Move, "over", 0.2), onWord(P::Release, "over", 0.2)});
        row("double-click and drag back, before a word's middle", noWrap,
            {onWord(P::DoubleClickHeld, "jumps", 0.5), onWord(P::Move, "fox", 0.5), onWord(P::Move, "quick", 0.2),
             onWord(P::Release, "quick", 0.2)});
        row("double-click and drag back, past a word's middle", noWrap,
            {onWord(P::DoubleClickHeld, "jumps", 0.5), onWord(P::Move, "quick", 0.8),
             onWord(P::Release, "quick", 0.8)});
        row("double-click and drag over the space between words", noWrap,
            {onWord(P::DoubleClickHeld, "jumps", 0.5), onWord(P::Move, " fox", 0.1), onWord(P::Release, " fox", 0.1)});
        row("shift-click after a double-click", noWrap,
            {onWord(P::DoubleClick, "quick", 0.5), onWord(P::ShiftPress, "over", 0.3), onWord(P::Release, "over", 0.3)});
        row("triple-click selects the paragraph and its break", noWrap,
            {{P::DoubleClick, {45, 10}}, {P::Click, {45, 10}}});
        row("triple-click on the last paragraph", noWrap, {{P::DoubleClick, {15, 115}}, {P::Click, {15, 115}}});
        row("wrapped: click on a second line", window, {{P::Click, {40, 25}}});
        row("wrapped: click past a wrapped line's end", window, {{P::Click, {395, 10}}});
        row("wrapped: drag across wrapped lines", window,
            {{P::Press, {200, 10}}, {P::Move, {100, 25}}, {P::Move, {30, 85}}, {P::Release, {30, 85}}});
        row("wrapped: double-click on a second line", window, {{P::DoubleClick, {60, 25}}});
        row("wrapped: triple-click a wrapped paragraph", window, {{P::DoubleClick, {60, 25}}, {P::Click, {60, 25}}});
    }

    void mouse()
    {
        QFETCH(int, rightMargin);
        QFETCH(Gesture, gesture);

        auto* box = new RichTextBox;
        box->setRightMargin(rightMargin);
        auto* plain = new QTextEdit;
        plain->setAcceptRichText(false);
        plain->setFont(twins::controlFont());
        plain->setPalette(box->palette());
        plain->setLineWrapMode(box->lineWrapMode());
        plain->setLineWrapColumnOrWidth(box->lineWrapColumnOrWidth());
        box->setText(prose());
        plain->setPlainText(prose());
        twins::SideBySide pair(box, plain);
        QVERIFY(pair.show());

        View views[2];
        for (int side : {0, 1}) {
            QTextEdit* edit = side == 0 ? pair.ours : pair.theirs;
            twins::SideBySide::take(edit);
            perform(edit, gesture, plain);
            views[side] = look(edit);
        }
        compare(views[0], views[1]);
    }

    // ---- random edits and undo on two documents ------------------------------

    void randomEditsWithUndo_data()
    {
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<qreal>("pageWidth");  // 0: no wrapping
        QTest::newRow("wrapped, seed 1") << 1u << 300.0;
        QTest::newRow("wrapped, seed 2") << 2u << 300.0;
        QTest::newRow("narrow, seed 3") << 3u << 120.0;
        QTest::newRow("no wrap, seed 4") << 4u << 0.0;
        QTest::newRow("no wrap, seed 5") << 5u << 0.0;
    }

    void randomEditsWithUndo()
    {
        QFETCH(quint32, seed);
        QFETCH(qreal, pageWidth);
        QRandomGenerator random(seed);

        QTextDocument ours;
        ours.setDocumentLayout(new LazyTextLayout(&ours));
        QTextDocument theirs;
        QStringList paragraphs;
        for (int n = 0; n < 40; ++n)
            paragraphs << randomWords(random, random.bounded(30));
        const QString initial = paragraphs.join(u'\n');
        for (QTextDocument* doc : {&ours, &theirs}) {
            configureDocument(doc, pageWidth);
            doc->setUndoRedoEnabled(false);
            doc->setPlainText(initial);
            doc->setUndoRedoEnabled(true);
        }

        // Paragraph rectangles must agree at every checkpoint; the sizes are
        // gathered and checked once, so that a known difference is one mark.
        QStringList sizes;
        auto checkpoint = [&](const char* name) {
            const QString paragraphs = twins::paragraphDifference(ours, theirs);
            QVERIFY2(paragraphs.isEmpty(), qPrintable(QLatin1String(name) + QStringLiteral(": ") + paragraphs));
            const QString size = twins::sizeDifference(ours, theirs);
            if (!size.isEmpty())
                sizes << QLatin1String(name) + QStringLiteral(": ") + size;
            const QString hits = hitDifference(random, ours, theirs);
            QVERIFY2(hits.isEmpty(), qPrintable(QLatin1String(name) + QStringLiteral(": ") + hits));
        };

        for (int step = 0; step < 150; ++step) {
            const int choice = random.bounded(20);
            if (choice < 2 && ours.isUndoAvailable()) {
                ours.undo();
                theirs.undo();
            } else if (choice == 2 && ours.isRedoAvailable()) {
                ours.redo();
                theirs.redo();
            } else {
                randomEdit(random, ours, theirs);
            }
            QCOMPARE(ours.toPlainText(), theirs.toPlainText());
            // As painting or a click would: some paragraph gets laid out.
            const QTextBlock probe = ours.findBlockByNumber(random.bounded(ours.blockCount()));
            ours.documentLayout()->blockBoundingRect(probe);
        }
        checkpoint("after the edits");
        if (QTest::currentTestFailed())
            return;

        for (int steps = ours.availableUndoSteps() / 2; steps > 0; --steps) {
            ours.undo();
            theirs.undo();
        }
        checkpoint("after undoing half");
        if (QTest::currentTestFailed())
            return;

        while (ours.isUndoAvailable()) {
            ours.undo();
            theirs.undo();
        }
        QCOMPARE(ours.toPlainText(), initial);
        checkpoint("after undoing all");
        if (QTest::currentTestFailed())
            return;

        QVERIFY2(sizes.isEmpty(), qPrintable(sizes.join(QStringLiteral("; "))));
    }

    // ---- a big document ---------------------------------------------------------

    // Cursors moving inside an edit block ask for paragraph rectangles before
    // the layout hears of the edit; afterwards all agrees with Qt's layout.
    void queriesInsideAnEditBlock()
    {
        QTextDocument ours;
        ours.setDocumentLayout(new LazyTextLayout(&ours));
        QTextDocument theirs;
        for (QTextDocument* doc : {&ours, &theirs}) {
            configureDocument(doc, 200);
            doc->setPlainText(QStringLiteral("one two three four five six seven\neight"));
            QTextCursor edit(doc);
            edit.beginEditBlock();
            edit.movePosition(QTextCursor::End);
            edit.insertText(QStringLiteral("\nnine ten eleven twelve thirteen fourteen\nfifteen\n"));
            QTextCursor moving(doc);
            moving.movePosition(QTextCursor::End);
            QVERIFY(moving.movePosition(QTextCursor::Up));
            QVERIFY(doc->documentLayout()->blockBoundingRect(doc->lastBlock()).isValid());
            edit.endEditBlock();
        }
        const QString paragraphs = twins::paragraphDifference(ours, theirs);
        QVERIFY2(paragraphs.isEmpty(), qPrintable(paragraphs));
        QVERIFY2(twins::sizeDifference(ours, theirs).isEmpty(), qPrintable(twins::sizeDifference(ours, theirs)));
    }

    void editInBigDocumentStaysLocal()
    {
        RichTextBox box;
        box.setRightMargin(0);  // wrapped at the window's width
        box.resize(400, 300);
        QString text;
        const int count = 200000;
        text.reserve(count * 72);
        for (int n = 0; n < count; ++n)
            text += QStringLiteral("Paragraph %1 has enough words in it to wrap onto a second line.\n").arg(n);
        box.setText(text);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        auto* layout = qobject_cast<LazyTextLayout*>(box.document()->documentLayout());
        QVERIFY(layout);
        const int last = box.document()->blockCount() - 1;
        // The lines a screen shows: no more paragraphs than that are on it.
        const int screenful = box.viewport()->height() / 15;

        QTest::keyClick(&box, Qt::Key_Home, Ctrl);
        twins::settle(&box);
        QCOMPARE(box.verticalScrollBar()->value(), 0);
        layout->resetLayoutsDone();
        QTest::keyClicks(&box, QStringLiteral("x"));
        twins::settle(&box);
        QVERIFY(box.document()->firstBlock().text().startsWith(QStringLiteral("xParagraph 0 ")));
        QVERIFY2(layout->layoutsDone() > 0 && layout->layoutsDone() <= screenful,
                 qPrintable(QString::number(layout->layoutsDone())));
        QVERIFY(!layout->isLaidOut(count / 2));
        QVERIFY(!layout->isLaidOut(count * 3 / 4));

        layout->resetLayoutsDone();
        QTest::keyClick(&box, Qt::Key_End, Ctrl);
        twins::settle(&box);
        QVERIFY(layout->isLaidOut(last));
        QVERIFY(!layout->isLaidOut(count / 2));
        // The caret's screen, and the screen's height above it so that the
        // jump lands where it is shown.
        QVERIFY2(layout->layoutsDone() <= 3 * screenful, qPrintable(QString::number(layout->layoutsDone())));
        // Scrolled as Qt's control scrolls to a caret below the window: to
        // the caret's bottom, leaving the document's bottom margin out of view.
        QCOMPARE(box.cursorRect().bottom(), box.viewport()->height() - 1);
    }
};

PAGEWELL_TEST_MAIN(TestLazyLayout)
#include "tst_lazylayout.moc"

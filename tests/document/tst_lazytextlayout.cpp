// The lazy layout against Qt's own: the same keys and mouse gestures leave
// the same caret, scroll bars and pixels; random edits and their undo the
// same paragraph rectangles and hits; a very long paragraph lies as Qt lays
// out its pieces; an edit in a big document stays local. Its paragraph index
// against a plain list.
#include "TestEnvironment.h"
#include "document/LazyTextLayout.h"
#include "document/RichTextBox.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QDebug>
#include <QHBoxLayout>
#include <QImage>
#include <QKeySequence>
#include <QPainter>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <algorithm>
#include <functional>

namespace {

QFont controlFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(9.75);
    return font;
}

template <typename... Parts>
QString say(const Parts&... parts)
{
    QString text;
    (QDebug(&text) << ... << parts);
    return text;
}

QString stateOf(const QTextEdit* edit)
{
    const QScrollBar *down = edit->verticalScrollBar(), *across = edit->horizontalScrollBar();
    return say(edit->textCursor().position(), edit->textCursor().anchor(), edit->cursorRect(), down->value(),
               down->maximum(), down->isVisible(), across->value(), across->maximum(), across->isVisible());
}

// Paints and lets posted size notices run until what is shown stops
// changing (a lazy layout learns sizes while painting); then what is shown,
// and how many paragraphs our layout lays out while nothing happens.
QPair<QString, QImage> look(QTextEdit* edit)
{
    QString before;
    for (int round = 0; round < 10 && before != stateOf(edit); ++round) {
        before = stateOf(edit);
        edit->viewport()->repaint();
        QApplication::processEvents();
        QApplication::processEvents();
    }
    QString idle;
    if (auto* lazy = qobject_cast<LazyTextLayout*>(edit->document()->documentLayout())) {
        const int before = lazy->layoutsDone();
        QTest::qWait(20);
        idle = say("laid out while idle:", lazy->layoutsDone() - before);
    }
    return {stateOf(edit) + idle, edit->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32)};
}

// Both editors in one shown, active window; each has the focus while it is
// driven and photographed, so both show a steady caret and active colours.
template <typename Drive>
void sideBySide(QTextEdit* ours, QTextEdit* theirs, Drive drive)
{
    QWidget window;
    auto* row = new QHBoxLayout(&window);
    for (QTextEdit* edit : {ours, theirs}) {
        edit->setFixedSize(400, 300);
        row->addWidget(edit);
    }
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowExposed(&window) && QTest::qWaitForWindowActive(&window));
    QPair<QString, QImage> seen[2];
    for (int side : {0, 1}) {
        QTextEdit* edit = side ? theirs : ours;
        edit->setFocus(Qt::OtherFocusReason);
        look(edit);
        drive(edit);
        seen[side] = look(edit);
    }
    QCOMPARE(ours->toPlainText(), theirs->toPlainText());
    QCOMPARE(seen[0].first, seen[1].first + say("laid out while idle:", 0));
    QVERIFY2(seen[0].second == seen[1].second, "the pixels differ");
}

QString prose()
{
    return QStringLiteral(
        "The quick brown fox jumps over the lazy dog, then the dog wakes up and chases the fox across the "
        "meadow until both are tired.\nShort line.\n\nColumn\tone\ttwo\tthree\nName\tSize\tModified\n"
        "Pneumonoultramicroscopicsilicovolcanoconiosis_and_more_letters_without_any_place_to_break\n"
        "Another paragraph of ordinary words that is long enough to wrap at least once in a narrow window.\nLast");
}

QString manyLines()  // taller than the window, every line narrower
{
    QStringList lines;
    for (int n = 0; n < 80; ++n)
        lines << QStringLiteral("Line %1 ").arg(n) + QStringLiteral("ipsum ").repeated(n % 9).trimmed();
    return lines.join(u'\n');
}

QString longLines()  // far wider than the window, all on screen at once
{
    QStringList lines;
    for (int n = 0; n < 6; ++n)
        lines << QStringLiteral("Paragraph %1: ").arg(n) + QStringLiteral("a rather long line that keeps on going ").repeated(5 + n);
    return lines.join(u'\n');
}

// Tab stops of every kind on two of three paragraphs; characters of other
// sizes, one range across a paragraph end.
void decorate(QTextDocument* doc, bool tabs, bool fonts)
{
    QTextCursor cursor(doc);
    for (QTextBlock block = doc->begin(); tabs && block.isValid(); block = block.next()) {
        QTextBlockFormat format;
        if (block.blockNumber() % 3)
            format.setTabPositions({{60, QTextOption::LeftTab}, {200, QTextOption::RightTab}, {280, QTextOption::CenterTab}});
        cursor.setPosition(block.position());
        cursor.setBlockFormat(format);
    }
    const QStringList ranges{"brown fox jumps", "Line 3 ipsum", "three\nName", "ordinary words", "Line 5 ipsum ipsum"};
    for (int n = 0; fonts && n < ranges.size(); ++n) {
        const int at = int(doc->toPlainText().indexOf(ranges[n]));
        QTextCharFormat format;
        format.setFontPointSize(n % 2 ? 22 : 7 + 9 * (n == 0));
        format.setFontItalic(n == 2);
        cursor.setPosition(std::max(at, 0));
        cursor.setPosition(std::max(at, 0) + int(at < 0 ? 0 : ranges[n].size()), QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(format);
    }
}

// -1: no wrapping, 0: at the widget's width, otherwise a fixed width.
QTextEdit* makeEditor(int wrap, bool lazy)
{
    auto* edit = new QTextEdit;
    edit->setAcceptRichText(false);
    edit->setFont(controlFont());
    edit->setLineWrapMode(wrap < 0 ? QTextEdit::NoWrap : wrap ? QTextEdit::FixedPixelWidth : QTextEdit::WidgetWidth);
    edit->setLineWrapColumnOrWidth(std::max(wrap, 0));
    if (lazy)
        LazyTextLayout::install(edit);
    return edit;
}

// Steps such as "Shift+Down*3" (a key, repeated) or "=text" (typed), a
// moment between keys for posted paints and size notices.
void press(QWidget* widget, const QStringList& keys)
{
    for (const QString& step : keys) {
        if (step.startsWith(u'='))
            QTest::keyClicks(widget, step.mid(1), {}, 1);
        const QKeyCombination key = QKeySequence(step.section(u'*', 0, 0))[0];
        for (int n = step.contains(u'*') ? step.section(u'*', 1).toInt() : 1; n > 0 && !step.startsWith(u'='); --n)
            QTest::keyClick(widget, key.key(), key.keyboardModifiers(), 1);
    }
}

// Steps such as "click 30,10" or "held quick@0.5" (`along` the width of a
// word of the text, "_" for a blank, as `reference` shows it); "held" is a double-click
// without its release, "shift" a press with Shift.
void gesture(QTextEdit* edit, const QString& steps, const QTextEdit* reference)
{
    QWidget* view = edit->viewport();
    for (const QString& step : steps.split(u';')) {
        const QString action = step.section(u' ', 0, 0, QString::SectionSkipEmpty);
        const QString where = step.section(u' ', 1, -1, QString::SectionSkipEmpty);
        QPoint at(where.section(u',', 0, 0).toInt(), where.section(u',', 1).toInt());
        if (where.contains(u'@')) {
            const QString word = where.section(u'@', 0, 0).replace(u'_', u' ');
            QTextCursor cursor(reference->document());
            cursor.setPosition(int(reference->toPlainText().indexOf(word)));
            const QRect start = reference->cursorRect(cursor);
            cursor.setPosition(cursor.position() + int(word.size()));
            at = QPoint(start.x() + qRound(where.section(u'@', 1).toDouble() * (reference->cursorRect(cursor).x() - start.x())),
                        start.center().y());
        }
        if (action == "press" || action == "shift")
            QTest::mousePress(view, Qt::LeftButton, action == "shift" ? Qt::ShiftModifier : Qt::NoModifier, at);
        else if (action == "move")
            QTest::mouseMove(view, at);
        else if (action == "click" || action == "double" || action == "held")  // a double-click's first press and release
            QTest::mouseClick(view, Qt::LeftButton, {}, at);
        if (action == "double" || action == "held")
            QTest::mouseDClick(view, Qt::LeftButton, {}, at);
        if (action == "release" || action == "double")
            QTest::mouseRelease(view, Qt::LeftButton, {}, at);
    }
}

QString randomWords(QRandomGenerator& random, int count)
{
    static const QStringList words = {"a", "layout", "paragraph", "of", "text", "wrapping", "\t", "the", "x", "caret",
                                      "Extraordinarily_long_identifier_without_spaces", "WIDE", "iiii", "mmmm"};
    QStringList out;
    for (int i = 0; i < count; ++i)
        out << words[random.bounded(int(words.size()))];
    return out.join(u' ');
}

// One random edit, done alike on both documents: typing with or without
// paragraph breaks, a removal, a Delete at a paragraph's end, a format on a
// range or new tab stops.
void randomEdit(QRandomGenerator& random, QTextDocument& ours, QTextDocument& theirs)
{
    const int length = ours.characterCount() - 1, at = random.bounded(length + 1);
    const int end = std::min(length, at + 1 + random.bounded(80)), kind = random.bounded(12);
    const int blockEnd = ours.findBlock(at).position() + ours.findBlock(at).length() - 1;
    QString text = randomWords(random, 1 + random.bounded(12)) + u' ';
    for (int breaks = kind == 3 || kind == 4 ? 1 + random.bounded(3) : 0; breaks > 0; --breaks)
        text += u'\n' + randomWords(random, random.bounded(10));
    QTextCharFormat format;
    if (const int size = QList<int>{16, 7, 26, 0}[random.bounded(4)])
        format.setFontPointSize(size);
    format.setFontItalic(random.bounded(2));
    QTextBlockFormat block;
    QList<QTextOption::Tab> tabs;
    for (int n = random.bounded(4), stop = 0; n > 0; --n)
        tabs.append(QTextOption::Tab(stop += 10 + random.bounded(100), QTextOption::LeftTab));
    block.setTabPositions(tabs);
    for (QTextDocument* doc : {&ours, &theirs}) {
        QTextCursor c(doc);
        c.setPosition(kind == 7 ? blockEnd : at);
        if (kind < 5)
            c.insertText(text);
        else if (kind == 7)
            c.deleteChar();
        else if (kind > 9)
            c.setBlockFormat(block);
        else
            c.setPosition(end, QTextCursor::KeepAnchor);
        if (kind == 5 || kind == 6)
            c.removeSelectedText();
        else if (kind == 8 || kind == 9)
            c.setCharFormat(format);
    }
}

// Empty when both layouts place every paragraph, the document's size and
// random hits alike; otherwise the first difference. Walked from the top, so
// every paragraph above one asked for is laid out. The hit points are pixel
// centres, as mouse positions are.
QString difference(QRandomGenerator& random, const QTextDocument& ours, const QTextDocument& theirs)
{
    if (ours.blockCount() != theirs.blockCount())
        return say(ours.blockCount(), "paragraphs against", theirs.blockCount());
    for (QTextBlock a = ours.begin(), b = theirs.begin(); a.isValid(); a = a.next(), b = b.next()) {
        const QRectF ra = ours.documentLayout()->blockBoundingRect(a), rb = theirs.documentLayout()->blockBoundingRect(b);
        if (ra != rb || a.text() != b.text())
            return say("paragraph", a.blockNumber(), a.text().left(20), ": ours", ra, "Qt's", rb);
    }
    const QSizeF size = theirs.documentLayout()->documentSize();
    if (ours.documentLayout()->documentSize() != size)
        return say("size: ours", ours.documentLayout()->documentSize(), "Qt's", size);
    for (int i = 0; i < 300; ++i) {
        const QPointF point(random.bounded(size.width() + 20) - 10, random.bounded(int(size.height()) + 20) - 10 + 0.5);
        for (const Qt::HitTestAccuracy accuracy : {Qt::FuzzyHit, Qt::ExactHit}) {
            const int a = ours.documentLayout()->hitTest(point, accuracy), b = theirs.documentLayout()->hitTest(point, accuracy);
            if (a != b)
                return say("hit at", point, accuracy, ": ours", a, "Qt's", b);
        }
    }
    return QString();
}

void configure(QTextDocument* doc, qreal pageWidth)
{
    doc->setDefaultFont(controlFont());
    QTextOption option = doc->defaultTextOption();
    option.setWrapMode(pageWidth > 0 ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    doc->setDefaultTextOption(option);
    doc->setPageSize(QSizeF(pageWidth, -1));  // 0: what a text edit gives a layout that does not wrap
}

using Entry = ParagraphIndex::Entry;

}  // namespace

class TestLazyTextLayout : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setCursorFlashTime(0); }  // a steady caret in both pictures

    void keyboard_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("wrap");
        QTest::addColumn<int>("decoration");  // 1: tab stops, 2: other font sizes
        QTest::addColumn<QStringList>("keys");
        const auto row = [](const char* name, const QString& text, int wrap, int decoration, const QStringList& keys) {
            QTest::newRow(name) << text << wrap << decoration << keys;
        };
        const int none = -1, window = 0, fixed = 200;
        row("typing makes a line wrap", prose(), window, 0, {"Down", "End", "= More words so that this one wraps too"});
        row("Enter splits a wrapped paragraph", prose(), window, 0, {"Right*10", "Return", "=new"});
        row("Enter at the end of the text", prose(), none, 0, {"Ctrl+End", "Return*2", "=x"});
        row("Backspace joins paragraphs", prose(), window, 0, {"Down*4", "Home", "Backspace*3"});
        row("Backspace joins into a wrapped paragraph", prose(), fixed, 0, {"Down*8", "Home", "Backspace*2"});
        row("Delete joins paragraphs", prose(), fixed, 0, {"End", "Del*2", "=!"});
        row("Backspace inside a word", prose(), none, 0, {"Right*9", "Backspace*4"});
        row("Down through wrapped lines", prose(), window, 0, {"Right*20", "Down*5"});
        row("Up from the end through wrapped lines", prose(), fixed, 0, {"Ctrl+End", "Up*9"});
        row("Home and End on a wrapped line", prose(), fixed, 0, {"Down", "End", "Left", "Home", "End"});
        row("Page Down then Page Up", manyLines(), none, 0, {"PgDown*3", "PgUp"});
        row("Page Down with wrapped lines", manyLines(), fixed, 0, {"PgDown*2"});
        row("Ctrl+End then Ctrl+Home", manyLines(), window, 0, {"Ctrl+End", "Ctrl+Home"});
        row("Ctrl+End, Page Up and typing", manyLines(), fixed, 0, {"Ctrl+End", "PgUp", "=abc"});
        row("Shift+End then past the paragraph end", prose(), window, 0, {"Down*3", "Shift+End", "Shift+Right"});
        row("Shift+Up across empty paragraphs", prose(), none, 0, {"Down*4", "End", "Shift+Up*3"});
        row("select all", prose(), fixed, 0, {"Ctrl+A"});
        row("Shift+Page Down", manyLines(), window, 0, {"Shift+PgDown"});
        row("typing tabs", prose(), none, 1, {"Down*4", "End", "=\tx\ty\tz"});
        row("tabs, selected", prose(), window, 1, {"Down*3", "Shift+Down*2", "Shift+End", "Down", "=\ta\tb"});
        row("window width breaks a long word", prose(), window, 0, {"Down*5", "End", "Up"});
        row("no wrap: typing at a long line's end", longLines(), none, 0, {"Down*5", "End", "= and more"});
        row("no wrap: back to the start", longLines(), none, 0, {"End", "Down", "Home"});
        row("no wrap: deleting the widest line", longLines(), none, 0, {"Ctrl+End", "Shift+Home", "Del"});
        row("bigger fonts, selection", prose(), window, 2, {"Right*3", "Shift+Down*4"});
        row("bigger fonts, typing inside", prose(), fixed, 2, {"Right*12", "=big words", "Down*2"});
        row("bigger fonts, no wrap", longLines(), none, 2, {"Down", "End", "Down"});
        row("bigger fonts and tabs, Page Down", manyLines(), fixed, 3, {"PgDown", "Down*3"});
    }
    void keyboard()
    {
        QFETCH(QString, text);
        QFETCH(int, wrap);
        QFETCH(int, decoration);
        QFETCH(QStringList, keys);
        QTextEdit* edits[2] = {makeEditor(wrap, true), makeEditor(wrap, false)};
        for (QTextEdit* edit : edits) {
            edit->setPlainText(text);
            decorate(edit->document(), decoration & 1, decoration & 2);
        }
        sideBySide(edits[0], edits[1], [&](QTextEdit* edit) { press(edit, keys); });
    }

    // The text control's own mouse handling against Qt's control. Paragraph
    // n of the text, unwrapped, is the line from y = 4 + 15 n.
    void mouse_data()
    {
        QTest::addColumn<QString>("steps");  // rows named "wrapped: ..." wrap at the window's width
        const auto row = [](const char* name, const char* steps) { QTest::newRow(name) << QString::fromUtf8(steps); };
        row("click inside a word", "click 30,10");
        row("click past a line's end", "click 390,25");
        row("click below the text", "click 100,280");
        row("click in the left margin", "click 1,55");
        row("click on a paragraph's top pixel row", "click 40,19");
        row("click on the text's top pixel row", "click 40,4");
        row("shift-click extends forwards", "click 30,10; shift 120,70; release 120,70");
        row("shift-click extends backwards", "click 120,70; shift 30,10; release 30,10");
        row("drag within a line", "press 20,10; move 40,10; move 80,10; move 121,11; release 121,11");
        row("drag across paragraphs and back", "press 100,10; move 100,40; move 200,70; move 50,100; move 60,25; release 60,25");
        row("drag upwards past the anchor", "press 150,100; move 100,70; move 20,12; release 20,12");
        row("drag past line ends", "press 10,25; move 390,25; move 390,40; release 390,40");
        row("drag below the text", "press 60,70; move 60,200; release 60,200");
        row("click inside a selection", "press 10,10; move 200,10; release 200,10; click 100,10");
        row("double-click a word", "double 45,10");
        row("double-click a tab", "double 60,55");
        row("double-click an empty paragraph", "double 50,40");
        row("double-click past a line's end", "double 300,25");
        row("double-click and drag forward, past a word's middle", "held quick@0.5; move brown@0.5; move over@0.8; release over@0.8");
        row("double-click and drag forward, before a word's middle", "held quick@0.5; move over@0.2; release over@0.2");
        row("double-click and drag back, before a word's middle", "held jumps@0.5; move fox@0.5; move quick@0.2; release quick@0.2");
        row("double-click and drag back, past a word's middle", "held jumps@0.5; move quick@0.8; release quick@0.8");
        row("double-click and drag over the space between words", "held jumps@0.5; move _fox@0.1; release _fox@0.1");
        row("shift-click after a double-click", "double quick@0.5; shift over@0.3; release over@0.3");
        row("triple-click selects the paragraph and its break", "double 45,10; click 45,10");
        row("triple-click on the last paragraph", "double 15,115; click 15,115");
        row("wrapped: click past a wrapped line's end", "click 395,10");
        row("wrapped: drag across wrapped lines", "press 200,10; move 100,25; move 30,85; release 30,85");
        row("wrapped: triple-click a wrapped paragraph", "double 60,25; click 60,25");
    }
    void mouse()
    {
        QFETCH(QString, steps);
        auto* box = new RichTextBox;
        box->setRightMargin(QByteArray(QTest::currentDataTag()).startsWith("wrapped") ? 0 : RichTextBox::NoWrapMargin);
        QTextEdit* plain = makeEditor(0, false);
        plain->setPalette(box->palette());
        plain->setLineWrapMode(box->lineWrapMode());
        plain->setLineWrapColumnOrWidth(box->lineWrapColumnOrWidth());
        box->setText(prose());
        plain->setPlainText(prose());
        sideBySide(box, plain, [&](QTextEdit* edit) { gesture(edit, steps, plain); });
    }

    void randomEditsWithUndo_data()
    {
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<qreal>("pageWidth");  // 0: no wrapping
        for (quint32 seed = 1; seed <= 5; ++seed)  // wrapped, narrow, not wrapped
            QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed))) << seed << QList<qreal>{300, 300, 120, 0, 0}[seed - 1];
        QTest::newRow("seed 5, words wider than the page") << 5u << qreal(60);
        QTest::newRow("seed 14, a change that ends with a paragraph break") << 14u << qreal(300);
    }
    void randomEditsWithUndo()
    {
        QFETCH(quint32, seed);
        QFETCH(qreal, pageWidth);
        QRandomGenerator random(seed);
        QTextDocument ours, theirs;
        ours.setDocumentLayout(new LazyTextLayout(&ours));
        QStringList paragraphs;
        for (int n = 0; n < 40; ++n)
            paragraphs << randomWords(random, random.bounded(30));
        for (QTextDocument* doc : {&ours, &theirs}) {
            configure(doc, pageWidth);
            doc->setUndoRedoEnabled(false);
            doc->setPlainText(paragraphs.join(u'\n'));
            doc->setUndoRedoEnabled(true);
        }
        const auto undoBoth = [&] { ours.undo(), theirs.undo(); };
        for (int step = 0; step < 150; ++step) {
            const int choice = random.bounded(20);
            if (choice < 2 && ours.isUndoAvailable())
                undoBoth();
            else if (choice == 2 && ours.isRedoAvailable())
                ours.redo(), theirs.redo();
            else if ((choice == 3 || choice == 4) && pageWidth > 0) {  // a new pass, as a resize makes
                const QSizeF page(pageWidth + random.bounded(4) * 40, -1);
                ours.setPageSize(page), theirs.setPageSize(page);
            } else
                randomEdit(random, ours, theirs);
            QCOMPARE(ours.toPlainText(), theirs.toPlainText());
            // As painting or a click would: some paragraph gets laid out.
            ours.documentLayout()->blockBoundingRect(ours.findBlockByNumber(random.bounded(ours.blockCount())));
        }
        QCOMPARE(difference(random, ours, theirs), QString());
        for (int steps = ours.availableUndoSteps() / 2; steps >= 0; --steps)  // half, then all
            undoBoth();
        QCOMPARE(difference(random, ours, theirs), QString());
        while (ours.isUndoAvailable())
            undoBoth();
        QCOMPARE(ours.toPlainText(), paragraphs.join(u'\n'));
        QCOMPARE(difference(random, ours, theirs), QString());
    }

    // Cursors moving inside an edit block ask for paragraph rectangles before
    // the layout hears of the edit; afterwards all agrees with Qt's layout.
    void queriesInsideAnEditBlock()
    {
        QTextDocument ours, theirs;
        ours.setDocumentLayout(new LazyTextLayout(&ours));
        for (QTextDocument* doc : {&ours, &theirs}) {
            configure(doc, 200);
            doc->setPlainText(QStringLiteral("one two three four five six seven\neight"));
            QTextCursor edit(doc), moving(doc);
            edit.beginEditBlock();
            edit.movePosition(QTextCursor::End);
            edit.insertText(QStringLiteral("\nnine ten eleven twelve thirteen fourteen\nfifteen\n"));
            moving.movePosition(QTextCursor::End);
            QVERIFY(moving.movePosition(QTextCursor::Up));
            QVERIFY(doc->documentLayout()->blockBoundingRect(doc->lastBlock()).isValid());
            edit.endEditBlock();
        }
        QRandomGenerator random(7);
        QCOMPARE(difference(random, ours, theirs), QString());
    }

    // A very long paragraph is laid out in pieces, each starting a line: as
    // Qt lays out the same text with a paragraph break at every piece's end.
    void longParagraphAgainstItsPieces()
    {
        QTextDocument ours, theirs;
        auto* lazy = new LazyTextLayout(&ours);
        ours.setDocumentLayout(lazy);
        QRandomGenerator random(11);
        QString text;
        while (text.size() < LongParagraph::MinLength + 20000)
            text += randomWords(random, 20) + u' ';
        configure(&ours, 300);
        ours.setPlainText("Before\n" + text + "\nAfter");
        for (int round = 0; round < 3; ++round) {
            QTextCursor edit(&ours);  // an edit inside the long paragraph: its pieces change
            edit.setPosition(7 + random.bounded(int(text.size())));
            edit.setPosition(edit.position() + random.bounded(9000), QTextCursor::KeepAnchor);
            edit.insertText(round == 1 ? QString() : randomWords(random, 3000));
            const QTextBlock block = ours.findBlockByNumber(1);
            const auto* paragraph = dynamic_cast<LongParagraph*>(block.userData());
            QVERIFY(paragraph && paragraph->pieces.size() > 30);
            lazy->lineCount();  // a small document is measured whole for it: rectangles below are exact
            QList<int> ends;  // piece ends, in the paragraph
            QString split = block.text();
            for (int n = int(paragraph->pieces.size()) - 2; n >= 0; --n) {
                ends.prepend(paragraph->startOf(n + 1));
                split.insert(ends.first(), u'\n');
            }
            configure(&theirs, 300);
            theirs.setPlainText("Before\n" + split + "\nAfter");
            const auto theirsAt = [&](int inBlock) {
                return block.position() + inBlock + int(std::count_if(ends.begin(), ends.end(), [&](int end) { return end <= inBlock; }));
            };
            QCOMPARE(ours.documentLayout()->blockBoundingRect(ours.lastBlock()),
                     theirs.documentLayout()->blockBoundingRect(theirs.lastBlock()));
            QList<int> linesBefore{0};  // each of Qt's paragraphs
            for (QTextBlock b = theirs.begin(); b.isValid(); b = b.next())
                linesBefore << linesBefore.last() + (theirs.documentLayout()->blockBoundingRect(b), b.layout()->lineCount());
            const int theirLines = linesBefore.last();
            QCOMPARE(lazy->lineCount(), theirLines);
            QList<QPointF> points;  // random, and each piece's top edge exactly
            for (QTextBlock b = theirs.begin().next().next(); b != theirs.lastBlock(); b = b.next())
                points << QPointF(random.bounded(300.0), theirs.documentLayout()->blockBoundingRect(b).top());
            for (int i = 0; i < 200; ++i) {
                points << QPointF(random.bounded(320.0) - 10, random.bounded(int(theirs.size().height())) + 0.5);
                const int inBlock = random.bounded(block.length());
                const int at = theirsAt(inBlock);
                const QTextBlock their = theirs.findBlock(at);
                const QTextLine line = their.layout()->lineForTextPosition(at - their.position());
                QCOMPARE(lazy->caretRect(block.position() + inBlock),
                         QRectF(their.layout()->position() + QPointF(line.cursorToX(at - their.position()), line.y()),
                                QSizeF(1, line.height())));
                const int lineNumber = linesBefore[their.blockNumber()] + line.lineNumber() - linesBefore[1];
                QCOMPARE(lazy->lineInBlock(block, inBlock), lineNumber);
                QCOMPARE(lazy->lineStartInBlock(block, lineNumber), inBlock - (at - their.position() - line.textStart()));
            }
            for (const QPointF& point : points) {
                // A line's top edge belongs to that line; Qt gives a paragraph's top edge (to 1/64 pixel) to the one above.
                const int hit = theirs.documentLayout()->hitTest(point + QPointF(0, 0.05), Qt::FuzzyHit);
                int breaks = 0;
                for (int k = 0; k < ends.size(); ++k)
                    breaks += block.position() + ends[k] + k < hit;
                QCOMPARE(ours.documentLayout()->hitTest(point, Qt::FuzzyHit), hit - breaks);
            }
        }
    }

    // New estimates change the height of paragraphs not laid out yet; the
    // view moves only for those above its top, not one starting right there.
    void newEstimatesShiftOnlyWhatIsAboveTheView()
    {
        QTextDocument doc;
        auto* lazy = new LazyTextLayout(&doc);
        doc.setDocumentLayout(lazy);
        configure(&doc, 300);
        doc.setPlainText(QStringList(400, QStringLiteral("mmmm WWWW ").repeated(12)).join(u'\n'));  // wide letters
        for (int n = 0; n < 30; ++n)  // laid out and measured: these keep their heights
            lazy->setAnchorY(lazy->blockBoundingRect(doc.findBlockByNumber(n)).bottom());
        QSignalSpy shifted(lazy, &LazyTextLayout::shiftedAbove);
        const QSizeF estimated = lazy->documentSize();
        QImage image(300, 100, QImage::Format_RGB32);
        QPainter painter(&image);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = image.rect();
        lazy->draw(&painter, context);  // asks for new estimates from the widths seen
        QTRY_VERIFY(lazy->documentSize() != estimated);
        QCOMPARE(shifted.count(), 0);
    }

    // The table a pass over every paragraph uses gives what working each
    // estimate out alone gives, within the table and beyond it.
    void tabulatedEstimatesMatchSingleOnes()
    {
        QRandomGenerator rng(5);
        for (const qreal linesPerChar : {0.0, 1.0 / 3, 0.0173, 0.25}) {
            const LazyTextLayout::Estimator one{linesPerChar, 1088, {}};
            const LazyTextLayout::Estimator table = one.tabulated();
            for (int n = 0; n < 3000; ++n) {
                const int length = n < 100 ? n : int(rng.bounded(9000));
                const Entry a = one(length), b = table(length);
                QVERIFY2(a.lines == b.lines && a.height == b.height && a.length == b.length,
                         qPrintable(QString::number(length)));
            }
        }
    }

    // In a document of millions of paragraphs a new width is estimated a
    // slice at a time, and ends as estimating at that width from the start,
    // even for a paragraph measured at a width two resizes back (whose pass
    // number comes round again as the numbers run out).
    void newWidthInSlicesEndsAsAFreshEstimate()
    {
        lazylayout::LastEntryGeneration = 2;
        const auto restore = qScopeGuard([] { lazylayout::LastEntryGeneration = 0xFFFF; });
        QString text;
        for (int n = 0; n < 1'100'000; ++n)
            text += QString(n % 97, u'x') + u'\n';
        const auto height = [&text](qreal width, bool resized) {
            QTextDocument doc;
            doc.setDefaultFont(controlFont());
            auto* lazy = new LazyTextLayout(&doc);
            doc.setDocumentLayout(lazy);
            configure(&doc, resized ? 200 : width);
            doc.setPlainText(text);
            if (resized) {
                // Laid out at the first width, near the end, where the new
                // estimates have not come when the second resize comes.
                lazy->blockBoundingRect(doc.findBlockByNumber(1'099'979));
                doc.setPageSize(QSizeF(350, -1));
                configure(&doc, width);
                // Sliced, so still going on once the change has returned.
                if (!lazy->estimating() || !QTest::qWaitFor([lazy] { return !lazy->estimating(); }, 20000))
                    return qreal(-1);
            }
            return lazy->documentSize().height();
        };
        QCOMPARE(height(500, true), height(500, false));
    }

    void editInBigDocumentStaysLocal()
    {
        RichTextBox box;
        box.setRightMargin(0);  // wrapped at the window's width
        box.resize(400, 300);
        const int count = 200000;
        QString text;
        for (int n = 0; n < count; ++n)  // some far wider than estimated, the middle one the widest by far
            text += QStringLiteral("Paragraph %1 has enough words in it to wrap onto a second line%2.\n").arg(n).arg(QString(" mmmm WWWW").repeated(n % 7 + (n == count / 2) * 40));
        box.setText(text);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        auto* layout = qobject_cast<LazyTextLayout*>(box.document()->documentLayout());
        const int screenful = box.viewport()->height() / 15;  // no more paragraphs than lines are shown
        look(&box);
        layout->resetLayoutsDone();
        QTest::keyClicks(&box, QStringLiteral("x"));
        look(&box);
        QVERIFY(box.document()->firstBlock().text().startsWith(QStringLiteral("xParagraph 0 ")));
        QVERIFY2(layout->layoutsDone() > 0 && layout->layoutsDone() <= screenful, qPrintable(QString::number(layout->layoutsDone())));
        QVERIFY(!layout->isLaidOut(count / 2) && !layout->isLaidOut(count * 3 / 4));
        layout->resetLayoutsDone();
        QTest::keyClick(&box, Qt::Key_End, Qt::ControlModifier);
        look(&box);
        QVERIFY(layout->isLaidOut(count) && !layout->isLaidOut(count / 2));
        // The caret's screen, and a screen above it so that the jump lands where it is shown.
        QVERIFY2(layout->layoutsDone() <= 3 * screenful, qPrintable(QString::number(layout->layoutsDone())));
        // Scrolled as Qt's control scrolls to a caret below the window: to
        // the caret's bottom, leaving the document's bottom margin out of view.
        QCOMPARE(box.cursorRect().bottom(), box.viewport()->height() - 1);
        const int line = box.LineCount() / 2 + 1;  // Go To Line among paragraphs never laid out lands on it
        QCOMPARE(box.LineFromChar(box.LineIndex(line)), line);
        box.setRightMargin(RichTextBox::NoWrapMargin);  // the widest paragraph sets the width, though not shown
        QTRY_VERIFY(layout->documentSize().width() > 40 * QFontMetricsF(box.Font()).horizontalAdvance(" mmmm WWWW"));
    }

    // The index against a plain list under random inserts, removals and
    // changes; sums and lookups are spot-checked against running sums.
    void paragraphIndexMatchesAPlainList_data()
    {
        QTest::addColumn<int>("initial");
        QTest::addColumn<int>("maxBatch");
        QTest::newRow("empty start, single entries") << 0 << 1;
        QTest::newRow("small, batches") << 50 << 40;
        QTest::newRow("many chunks, single entries") << 20000 << 1;
        QTest::newRow("many chunks, big batches") << 20000 << 3000;
    }
    void paragraphIndexMatchesAPlainList()
    {
        QFETCH(int, initial);
        QFETCH(int, maxBatch);
        QRandomGenerator random(initial * 31 + maxBatch);
        int step = 0;
        const auto entry = [&] {  // later entries run longer, wherever they go
            const int height = random.bounded(1, 4000);
            return Entry{height, random.bounded(1, 6), random.bounded(1, 500 + 50 * step), float(height % 997), 1};
        };
        std::vector<Entry> model(static_cast<size_t>(initial));
        std::generate(model.begin(), model.end(), entry);
        ParagraphIndex index;
        index.insert(0, model);
        for (; step < 400; ++step) {
            const int op = random.bounded(4), at = random.bounded(int(model.size()) + 1);
            if (op == 0 || model.empty()) {
                std::vector<Entry> batch(static_cast<size_t>(random.bounded(1, maxBatch + 1)));
                std::generate(batch.begin(), batch.end(), entry);
                index.insert(at, batch);
                model.insert(model.begin() + at, batch.begin(), batch.end());
            } else if (op == 1) {
                const int n = std::min(random.bounded(1, maxBatch + 1), int(model.size()) - at);
                index.remove(at, n);
                model.erase(model.begin() + at, model.begin() + at + n);
            } else if (op == 2 && at < int(model.size())) {
                index.set(at, model[size_t(at)] = entry());
            } else if (op == 3 && step % 40 == 0) {
                index.forEach([](Entry& e) { e.height += 64; });
                for (Entry& e : model)
                    e.height += 64;
            }
            if (step % 50 != 49 && step != 399)
                continue;
            std::int64_t y = 0, lines = 0;
            float widest = 0;
            for (size_t i = 0; i < model.size(); ++i) {
                if (index.at(int(i)).height != model[i].height)
                    QFAIL(qPrintable(QStringLiteral("height differs at %1").arg(i)));
                if (i % 97 == 0 || i + 1 == model.size())  // spot checks keep it quick
                    QCOMPARE(QList<std::int64_t>({index.top(int(i)), index.linesBefore(int(i)), index.indexAtY(y),
                                                  index.indexAtY(y + model[i].height - 1), index.indexAtLine(lines),
                                                  index.indexAtLine(lines + model[i].lines - 1)}),
                             QList<std::int64_t>({y, lines, std::int64_t(i), std::int64_t(i), std::int64_t(i), std::int64_t(i)}));
                y += model[i].height;
                lines += model[i].lines;
                widest = std::max(widest, model[i].width);
            }
            const int last = int(model.size()) - 1;  // lookups outside the range clamp
            QCOMPARE(QList<std::int64_t>({index.count(), index.totalHeight(), index.totalLines(), index.indexAtY(-5),
                                          index.indexAtY(y + 9), index.indexAtLine(lines + 9)}),
                     QList<std::int64_t>({last + 1, y, lines, std::min(last, 0), last, last}));
            QCOMPARE(index.widest(), widest);
            QList<int> expected;
            for (const Entry& e : model)
                expected << e.length;
            std::sort(expected.begin(), expected.end(), std::greater<>());
            for (const int n : {1, 16, 300}) {
                QList<int> longest;  // lengths: of equal lengths either may come
                for (int i : index.longest(n))
                    longest << index.at(i).length;
                std::sort(longest.begin(), longest.end(), std::greater<>());
                QCOMPARE(longest, expected.mid(0, n));
            }
        }
        index.clear();
        QCOMPARE(QList<std::int64_t>({index.count(), index.totalHeight(), index.indexAtY(10)}), QList<std::int64_t>({0, 0, -1}));
    }
};

PAGEWELL_TEST_MAIN(TestLazyTextLayout)
#include "tst_lazytextlayout.moc"

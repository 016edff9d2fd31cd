#pragma once
// Two text editors side by side in one window, one with our lazy layout and
// one with Qt's own, and what a user sees of them as comparable values: the
// caret, the selection and the scroll bars as text, the pixels as a
// description of where they differ, and the paragraphs' rectangles.
#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QDebug>
#include <QDir>
#include <QHBoxLayout>
#include <QImage>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <memory>

namespace twins {

inline QFont controlFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(9.75);
    return font;
}

inline QString selectionOf(const QTextEdit* edit)
{
    const QTextCursor cursor = edit->textCursor();
    const QRect caret = edit->cursorRect();
    return QStringLiteral("position %1 anchor %2, caret at %3,%4 %5x%6")
        .arg(cursor.position())
        .arg(cursor.anchor())
        .arg(caret.x())
        .arg(caret.y())
        .arg(caret.width())
        .arg(caret.height());
}

inline QString scrollOf(const QScrollBar* bar)
{
    return QStringLiteral("%1 of %2 (%3)").arg(bar->value()).arg(bar->maximum()).arg(bar->isVisible() ? "shown" : "hidden");
}

inline QString stateOf(const QTextEdit* edit)
{
    return selectionOf(edit) + QStringLiteral(" | vertical ") + scrollOf(edit->verticalScrollBar())
           + QStringLiteral(" | horizontal ") + scrollOf(edit->horizontalScrollBar());
}

// Paints and lets posted size notices and scroll bar updates run until what
// the user sees stops changing: a lazy layout learns sizes while painting.
inline void settle(QTextEdit* edit)
{
    QString before;
    for (int round = 0; round < 10; ++round) {
        edit->viewport()->repaint();
        QApplication::processEvents();
        QApplication::processEvents();
        const QString now = stateOf(edit);
        if (now == before)
            return;
        before = now;
    }
}

inline QImage snapshot(QTextEdit* edit)
{
    return edit->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Empty when equal; otherwise how many pixels differ, where, and the first
// one. With LAZYLAYOUT_DIFF_DIR set both images are saved there for a look.
inline QString pixelDifference(const QImage& ours, const QImage& theirs, const QString& name)
{
    if (ours.size() != theirs.size())
        return QStringLiteral("sizes differ: %1x%2 against %3x%4")
            .arg(ours.width()).arg(ours.height()).arg(theirs.width()).arg(theirs.height());
    int count = 0;
    QRect box;
    QString first;
    for (int y = 0; y < ours.height(); ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(ours.constScanLine(y));
        const auto* b = reinterpret_cast<const QRgb*>(theirs.constScanLine(y));
        for (int x = 0; x < ours.width(); ++x) {
            if (a[x] == b[x])
                continue;
            if (count++ == 0)
                first = QStringLiteral("first at %1,%2: ours %3, Qt's %4")
                            .arg(x).arg(y)
                            .arg(QColor(a[x]).name(), QColor(b[x]).name());
            box |= QRect(x, y, 1, 1);
        }
    }
    if (count == 0)
        return QString();
    const QString dir = qEnvironmentVariable("LAZYLAYOUT_DIFF_DIR");
    if (!dir.isEmpty()) {
        QString file = name;
        file.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9]+")), QStringLiteral("_"));
        ours.save(QDir(dir).filePath(file + QStringLiteral("_ours.png")));
        theirs.save(QDir(dir).filePath(file + QStringLiteral("_qt.png")));
    }
    return QStringLiteral("%1 pixels differ within %2,%3 %4x%5; %6")
        .arg(count).arg(box.x()).arg(box.y()).arg(box.width()).arg(box.height()).arg(first);
}

// One shown, active window holding both editors at the same size. Each
// editor gets the focus in turn while it is driven and photographed, so
// both show a steady caret (the flash time is 0) and active selection colours.
class SideBySide {
public:
    SideBySide(QTextEdit* ours, QTextEdit* theirs, QSize size = QSize(400, 300))
        : window(new QWidget), ours(ours), theirs(theirs)
    {
        auto* row = new QHBoxLayout(window.get());
        for (QTextEdit* edit : {ours, theirs}) {
            edit->setFixedSize(size);
            row->addWidget(edit);
        }
    }

    bool show()
    {
        window->show();
        window->activateWindow();
        return QTest::qWaitForWindowExposed(window.get()) && QTest::qWaitForWindowActive(window.get());
    }

    // Focuses one editor and lets it lay out and paint what it shows.
    static void take(QTextEdit* edit)
    {
        edit->setFocus(Qt::OtherFocusReason);
        settle(edit);
    }

    std::unique_ptr<QWidget> window;
    QTextEdit* ours;
    QTextEdit* theirs;
};

// Block by block, the first paragraph whose text or rectangle differs;
// empty when both layouts place every paragraph alike. The walk goes from
// the top, so every paragraph above one asked for is laid out.
inline QString paragraphDifference(const QTextDocument& ours, const QTextDocument& theirs)
{
    if (ours.blockCount() != theirs.blockCount())
        return QStringLiteral("%1 paragraphs against %2").arg(ours.blockCount()).arg(theirs.blockCount());
    QTextBlock a = ours.begin();
    QTextBlock b = theirs.begin();
    for (; a.isValid() && b.isValid(); a = a.next(), b = b.next()) {
        const QRectF ra = ours.documentLayout()->blockBoundingRect(a);
        const QRectF rb = theirs.documentLayout()->blockBoundingRect(b);
        if (ra != rb || a.text() != b.text()) {
            QString text;
            QDebug(&text).nospace() << "paragraph " << a.blockNumber() << " (" << a.text().left(20) << "...): ours "
                                    << ra << ", Qt's " << rb;
            return text;
        }
    }
    return QString();
}

inline QString sizeDifference(const QTextDocument& ours, const QTextDocument& theirs)
{
    const QSizeF a = ours.documentLayout()->documentSize();
    const QSizeF b = theirs.documentLayout()->documentSize();
    if (a == b)
        return QString();
    QString text;
    QDebug(&text).nospace() << "document size: ours " << a << ", Qt's " << b;
    return text;
}

}  // namespace twins

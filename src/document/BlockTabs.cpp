#include "document/BlockTabs.h"

#include "core/Units.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

double tabPixels(int twips) { return twips * units::twipsToPixelsX(1440) / 1440.0; }
int tabTwips(double pixels) { return qRound(pixels * 1440.0 / units::twipsToPixelsX(1440)); }

void setBlockTabs(QTextDocument& document, int start, int end, int count, int index, int twips)
{
    QTextBlock block = document.findBlock(start);
    const QTextBlock last = document.findBlock(end);
    QTextCursor editor(&document);
    editor.beginEditBlock();
    while (block.isValid()) {
        QTextBlockFormat format = block.blockFormat();
        QList<QTextOption::Tab> tabs = format.tabPositions();
        if (count >= 0) {
            while (tabs.size() < count)
                tabs.append(QTextOption::Tab(tabs.isEmpty() ? 0.0 : tabs.last().position,
                                             QTextOption::LeftTab));
            tabs.resize(count);
        } else if (index >= 0 && index < tabs.size()) {
            tabs[index].position = tabPixels(twips);
        }
        format.setTabPositions(tabs);
        editor.setPosition(block.position());
        editor.setBlockFormat(format);
        if (block == last)
            break;
        block = block.next();
    }
    editor.endEditBlock();
}

#include "app/ResourceCaptions.h"

#include "core/Conversions.h"
#include "core/StringTable.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>
#include <QVariant>
#include <QWidget>

namespace {

std::optional<QString> tableText(const QString& numericText)
{
    const std::optional<int> id = conv::toInt16(numericText);
    if (!id)
        return std::nullopt;
    return LoadResString(*id);
}

void replaceActionCaption(QAction* action)
{
    if (const auto text = tableText(action->text()))
        action->setText(*text);
}

void replaceMenuCaptions(QMenu* menu)
{
    if (const auto text = tableText(menu->title()))
        menu->setTitle(*text);
    for (QAction* action : menu->actions()) {
        if (QMenu* sub = action->menu())
            replaceMenuCaptions(sub);
        else
            replaceActionCaption(action);
    }
}

}  // namespace

void ApplyResourceCaptions(QWidget* window)
{
    // The window's caption comes from its tag, when it carries one.
    if (const auto text = tableText(window->property("Tag").toString()))
        window->setWindowTitle(*text);

    for (QMenu* menu : window->findChildren<QMenu*>())
        replaceMenuCaptions(menu);
    for (QAction* action : window->actions())
        replaceActionCaption(action);

    for (QToolBar* toolbar : window->findChildren<QToolBar*>()) {
        for (QAction* action : toolbar->actions()) {
            if (const auto text = tableText(action->toolTip()))
                action->setToolTip(*text);
        }
    }
    for (QLabel* label : window->findChildren<QLabel*>()) {
        if (const auto text = tableText(label->property("Tag").toString()))
            label->setText(*text);
    }
}

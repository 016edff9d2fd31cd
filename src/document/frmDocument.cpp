#include "document/frmDocument.h"

#include "core/Conversions.h"
#include "core/MessageBox.h"
#include "core/Settings.h"
#include "core/Units.h"
#include "core/Workspace.h"
#include "document/KeyCodes.h"
#include "document/RichTextBox.h"
#include "document/TabStops.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <QTextCursor>

namespace {
const QString Insert = QStringLiteral("Insert");
const QString Overtype = QStringLiteral("Overtype");

QString setting(const QString& section, const QString& key)
{
    return GetSetting(AppTitle, section, key);
}
}  // namespace

frmDocument::frmDocument(Workspace* main) : QWidget(nullptr), m_main(main)
{
    setAttribute(Qt::WA_DeleteOnClose, false);  // the sub-window owns and deletes us
    txtText = new RichTextBox(this);
    txtText->setObjectName(QStringLiteral("txtText"));
    connect(txtText, &RichTextBox::Change, this, &frmDocument::txtText_Change);
    connect(txtText, &RichTextBox::KeyDown, this, &frmDocument::txtText_KeyDown);
    connect(txtText, &RichTextBox::MouseDown, this, &frmDocument::txtText_MouseDown);
    connect(txtText, &RichTextBox::filesDropped, this,
            [this](const QStringList& paths) { m_main->openDroppedFiles(paths); });
    txtText->setShortcutOwner([main](const QKeySequence& key) { return main->ownsShortcut(key); });
    setFocusProxy(txtText);
    resize(units::twipsToPixelsX(6000), units::twipsToPixelsY(4000));
}

void frmDocument::setLabel1(const QString& mark)
{
    if (mark == m_changed)
        return;
    m_changed = mark;
    emit changedMarkChanged(!mark.isEmpty());
}

double storedFontSize(const QString& stored)
{
    constexpr double LargestPoints = 1638;
    return conv::bounded(conv::leadingValue(stored), 0, LargestPoints);
}

void frmDocument::Form_Load()
{
    m_main->setPanelText(1, Insert);

    if (!setting(QStringLiteral("Color"), QStringLiteral("Color")).isEmpty()) {
        // A value that does not convert (a hand-edited store) skips its step.
        if (const auto back = conv::toInt32(setting(QStringLiteral("Color"), QStringLiteral("Color"))))
            txtText->setBackColor(*back);
        QFont base = txtText->Font();
        const double size = storedFontSize(setting(QStringLiteral("Font"), QStringLiteral("Size")));
        if (size > 0)
            base.setPointSizeF(size);
        const QString name = setting(QStringLiteral("Font"), QStringLiteral("Name"));
        if (!name.isEmpty())
            base.setFamily(name);
        base.setBold(setting(QStringLiteral("Font"), QStringLiteral("Bold")) == QLatin1String("True"));
        txtText->setFont(base);
        const QString color = setting(QStringLiteral("Font"), QStringLiteral("Color"));
        if (!color.isEmpty())
            txtText->setSelColor(conv::leadingColour(color));
    }

    txtText->setGeometry(rect());

    if (setting(QStringLiteral("WordWrap"), QStringLiteral("Wrap")) == QLatin1String("True")) {
        m_main->setWordWrap(true);
        txtText->setRightMargin(txtText->Width());
    } else {
        txtText->setRightMargin(RichTextBox::NoWrapMargin);
        m_main->setWordWrap(false);
    }

    applyStoredTabStops();
    txtText->EmptyUndoBuffer();
    setLabel1(QString());
}

void frmDocument::applyStoredTabStops()
{
    const QString stored = setting(QStringLiteral("Tab Set"), QStringLiteral("Tab"));
    if (stored.isEmpty())
        return;
    const int count = storedTabStopCount(stored);
    if (count == 0)
        return;
    const QList<int> stops = evenTabStops(txtText->Width(), count);
    txtText->setSelTabCount(count);
    for (int i = 0; i < stops.size(); ++i)
        txtText->setSelTabs(i, stops[i]);
}

void frmDocument::Form_Resize()
{
    const QString changed = Label1();
    txtText->setGeometry(rect());

    const std::optional<bool> wrap = conv::toBool(setting(QStringLiteral("WordWrap"), QStringLiteral("Wrap")));
    if (!wrap || *wrap) {
        m_main->setWordWrap(true);
        txtText->setRightMargin(txtText->Width() - 300);
    } else {
        txtText->setRightMargin(RichTextBox::NoWrapMargin);
        m_main->setWordWrap(false);
    }
    applyStoredTabStops();
    setLabel1(changed);
}

bool needsSavePrompt(bool titled, int textLength, bool changed)
{
    return (titled || textLength > 0) && changed;
}

void frmDocument::Form_QueryUnload(bool& cancel)
{
    cancel = false;
    m_saveRefused = false;
    if (!needsSavePrompt(!m_title.isEmpty(), txtText->TextLength(), !m_changed.isEmpty()))
        return;
    const QString name = m_title.isEmpty() ? windowTitle() : m_title;
    const int answer = MsgBox(QStringLiteral("The contents of ") + name + QStringLiteral(" has changed.\r\n")
                                  + QStringLiteral("Do you wish to save the changes?"),
                              vb::vbYesNoCancel | vb::vbExclamation);
    if (answer == vb::vbNo)
        return;
    if (answer != vb::vbYes) {
        cancel = true;
        return;
    }
    // A read-only file closes unsaved; a failed write keeps the window, so
    // the text is not lost.
    const Workspace::CloseSave saved = m_main->saveForClose(*this);
    m_saveRefused = saved == Workspace::CloseSave::Refused;
    cancel = saved == Workspace::CloseSave::Cancelled;
}

void frmDocument::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    SaveSetting(AppTitle, QStringLiteral("Color"), QStringLiteral("Color"),
                QString::number(txtText->BackColor()));
    const QFont base = txtText->Font();
    SaveSetting(AppTitle, QStringLiteral("Font"), QStringLiteral("Name"), base.family());
    txtText->setSelLength(0);
    SaveSetting(AppTitle, QStringLiteral("Font"), QStringLiteral("Color"),
                QString::number(txtText->SelColor()));
    SaveSetting(AppTitle, QStringLiteral("Font"), QStringLiteral("Size"),
                conv::decimalText(base.pointSizeF(), 4));
    SaveSetting(AppTitle, QStringLiteral("Font"), QStringLiteral("Bold"),
                base.bold() ? QStringLiteral("True") : QStringLiteral("False"));
}

void frmDocument::unloadWithoutQuery()
{
    m_skipQuery = true;
    if (QWidget* frame = parentWidget())
        frame->close();
    else
        close();
}

void frmDocument::txtText_Change() { setLabel1(QStringLiteral("x")); }

void frmDocument::txtText_KeyDown(int keyCode, int shift)
{
    if (keyCode == keys::vbKeyInsert && shift == 0) {
        const QString mode = m_main->panelText(1);
        if (mode == Insert)
            m_main->setPanelText(1, Overtype);
        else if (mode == Overtype)
            m_main->setPanelText(1, Insert);
        return;
    }
    // Overtype: the next character is selected, so the typed one replaces it.
    // A paragraph's end is never swallowed.
    if (m_main->panelText(1) == Overtype && txtText->SelLength() == 0
        && keys::typesCharacter(keyCode, shift) && !txtText->textCursor().atBlockEnd())
        txtText->setSelLength(1);
}

void frmDocument::txtText_MouseDown(int button, int shift, double x, double y)
{
    Q_UNUSED(shift);
    if (button != 2)
        return;
    const QPoint inControl(units::twipsToPixelsX(x), units::twipsToPixelsY(y));
    m_main->popupContextMenu(txtText->mapToGlobal(inControl));
}

void frmDocument::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmDocument::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    Form_Resize();
}

void frmDocument::closeEvent(QCloseEvent* event)
{
    if (!m_skipQuery) {
        bool cancel = false;
        Form_QueryUnload(cancel);
        if (cancel) {
            event->ignore();
            return;
        }
    }
    emit closing(m_saveRefused);
    Form_Unload();
    event->accept();
}

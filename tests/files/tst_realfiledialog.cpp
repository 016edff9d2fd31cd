// The File commands with Qt's own file dialog, as a user works it: the file
// name typed into the dialog's name box, then Enter or Esc.
#include "FileCommandsFixture.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QDeadlineTimer>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSignalSpy>

using namespace files;

class TestRealFileDialog : public QObject {
    Q_OBJECT

    Fixture f;

    struct Seen {
        bool shown = false;
        QString title;
        QStringList nameFilters;
        QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
        QString preset;
        QStringList leftOpen;  // dialogs that had to be closed for the test
    };

    // Until the dialog's file list holds its folder (at most 5 s).
    static void waitForFolder(QFileDialog* dialog)
    {
        auto* model = dialog->findChild<QFileSystemModel*>();
        if (!model)
            return;
        const QString folder = dialog->directory().absolutePath();
        QSignalSpy loaded(model, &QFileSystemModel::directoryLoaded);
        QDeadlineTimer deadline(5000);
        while (!deadline.hasExpired() && model->rowCount(model->index(folder)) == 0
               && !loaded.contains(QVariantList{folder}))
            loaded.wait(50);
        QApplication::processEvents();
    }

    // Answers the next file dialog: types text into its name box and
    // presses Enter, or presses Esc when text is null.
    void answerNextDialog(const QString& text)
    {
        auto seen = std::make_shared<Seen>();
        m_watch = whenModal<QFileDialog>([seen, text](QFileDialog* dialog) {
            seen->shown = true;
            seen->title = dialog->windowTitle();
            seen->nameFilters = dialog->nameFilters();
            seen->mode = dialog->acceptMode();
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (!name) {
                dialog->reject();
                return;
            }
            seen->preset = name->text();
            // A dialog the keys did not close ends all the same, later,
            // with any box it opened in turn; what was left is reported.
            auto* guard = new QTimer(dialog);
            QObject::connect(guard, &QTimer::timeout, dialog, [seen, guard] {
                guard->setInterval(200);
                auto* top = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                if (!top)
                    return;
                if (auto* box = qobject_cast<QMessageBox*>(top))
                    seen->leftOpen << box->text();
                else
                    seen->leftOpen << top->windowTitle();
                top->reject();
            });
            guard->start(5000);
            if (text.isNull()) {
                QTest::keyClick(name, Qt::Key_Escape);
                return;
            }
            // As for a user: the dialog is active with the keyboard in its
            // name box, and it has read its folder (it then selects the
            // suggested name, which would replace an unfocused box's text).
            QApplication::setActiveWindow(dialog);
            name->setFocus(Qt::OtherFocusReason);
            waitForFolder(dialog);
            name->selectAll();
            QTest::keyClicks(name, text);
            // The name box leaves Enter to its completion list while that
            // shows (it fills in the background); the user would close it.
            if (name->completer() && name->completer()->popup()->isVisible())
                name->completer()->popup()->hide();
            QTest::keyClick(name, Qt::Key_Return);
        });
        m_seen = seen;
    }

    // What the last answered dialog showed.
    std::shared_ptr<Seen> m_seen;
    QPointer<QTimer> m_watch;

private slots:
    void initTestCase()
    {
        // Qt's widget dialog, whatever the desktop offers.
        QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs, true);
    }
    void init()
    {
        f.start();
        f.dialogs.reset();  // the real dialogs
    }
    void cleanup()
    {
        delete m_watch;  // a dialog that never came
        f.stop();
    }

    void openThroughTheDialog()
    {
        const QString path = f.file(QStringLiteral("Typed Name.txt"), "typed into the dialog\n");
        answerNextDialog(path);
        f.command(Open);
        QVERIFY(m_seen->shown);
        QVERIFY2(m_seen->leftOpen.isEmpty(), qPrintable(m_seen->leftOpen.join(u'|')));
        QCOMPARE(m_seen->title, QStringLiteral("Pagewell: Open File"));
        QCOMPARE(m_seen->mode, QFileDialog::AcceptOpen);
        QCOMPARE(m_seen->nameFilters,
                 (QStringList{"All Files (*)", "Text Files (*.txt)", "INI Files (*.ini)"}));
        QCOMPARE(f.documentCount(), 1);
        QCOMPARE(f.text()->Text(), QStringLiteral("typed into the dialog\r\n"));
        QCOMPARE(f.active()->Title(), path.toUpper());
        QCOMPARE(f.active()->Label1(), QString());
        QCOMPARE(recent(1), path.toUpper());
    }

    void escapeInTheOpenDialogChangesNothing()
    {
        f.type(QStringLiteral("mine"));
        answerNextDialog(QString());
        f.command(Open);
        QVERIFY(m_seen->shown);
        QVERIFY2(m_seen->leftOpen.isEmpty(), qPrintable(m_seen->leftOpen.join(u'|')));
        QCOMPARE(f.documentCount(), 1);
        QCOMPARE(f.text()->Text(), QStringLiteral("mine"));
        QCOMPARE(f.active()->Title(), QString());
        QCOMPARE(f.boxes->shown.size(), 0);
    }

    void saveAsThroughTheDialog()
    {
        const QString original = f.file(QStringLiteral("first.txt"), "keep\r\n");
        answerNextDialog(original);
        f.command(Open);
        QVERIFY(m_seen->shown);
        QVERIFY2(m_seen->leftOpen.isEmpty(), qPrintable(m_seen->leftOpen.join(u'|')));
        const QString path = f.path(QStringLiteral("second.txt"));
        answerNextDialog(path);
        f.command(SaveAs);
        QVERIFY(m_seen->shown);
        QVERIFY2(m_seen->leftOpen.isEmpty(), qPrintable(m_seen->leftOpen.join(u'|')));
        QCOMPARE(m_seen->title, QStringLiteral("Pagewell: Save File"));
        QCOMPARE(m_seen->mode, QFileDialog::AcceptSave);
        QCOMPARE(m_seen->preset, QStringLiteral("first.txt"));  // starts at the document's file
        QCOMPARE(bytesOf(path), QByteArray("keep\r\n"));
        QCOMPARE(f.active()->Title(), path.toUpper());
    }
};

PAGEWELL_TEST_MAIN(TestRealFileDialog)
#include "tst_realfiledialog.moc"

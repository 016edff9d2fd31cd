// A window that drags the files named on its command line away when it is
// pressed: the scenarios' X server has no file manager to drag from.
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

class DragSource : public QWidget {
    void mousePressEvent(QMouseEvent*) override
    {
        auto* data = new QMimeData;
        QList<QUrl> urls;
        for (const QString& path : QApplication::arguments().mid(1))
            urls << QUrl::fromLocalFile(path);
        data->setUrls(urls);
        auto* drag = new QDrag(this);
        drag->setMimeData(data);
        drag->exec(Qt::CopyAction);
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    DragSource source;
    source.setWindowTitle(QStringLiteral("drag source"));
    source.resize(160, 120);
    source.show();
    return app.exec();
}

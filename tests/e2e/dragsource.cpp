// A window that drags the URLs on its command line away when it is pressed:
// the scenarios' X server has no file manager to drag files from.
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

class DragSource : public QWidget {
    void mousePressEvent(QMouseEvent*) override
    {
        auto* data = new QMimeData;
        data->setUrls(QUrl::fromStringList(QApplication::arguments().mid(1)));
        auto* drag = new QDrag(this);
        drag->setMimeData(data);
        drag->exec(Qt::CopyAction);
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    DragSource source;
    source.show();
    return app.exec();
}

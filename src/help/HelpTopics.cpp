#include "help/HelpTopics.h"

namespace help {

QString topicPage(int context)
{
    switch (context) {
    case TopicFileDialogs: return QStringLiteral("file-dialogs.html");
    case TopicFontAndColorDialogs: return QStringLiteral("font-color-dialogs.html");
    default: return ContentsPage;
    }
}

bool isMakerSite(const QUrl& url)
{
    return url.scheme() == MakerWebPage.scheme() && url.host() == MakerWebPage.host();
}

}  // namespace help

#include "app/web_links.h"

#include "app/commands.h"
#include "news/web_addresses.h"

namespace kettrik {

QString WebLinkAddress(int command) {
    struct Link {
        int Command;
        const char* Site;
        const char* Path;
    };
    static constexpr Link links[] = {
        {command::PattermoorPage, web::MakerSite, "/ptm"},
        {command::AuthorHomepage, web::MakerSite, "/"},
        {command::AuthorMusic, web::MusicSite, "/quorr/"},
        {command::AuthorSoftware, web::MakerSite, "/warez.html"},
        {command::LatestVersion, web::MakerSite, "/kettrik.html"},
        {command::SoundLibrary, web::MakerSite, "/library/"},
        {command::Chat, web::MakerSite, "/chat/"},
        {command::Documentation, web::MakerSite, "/kettrik/documentation.html"},
    };
    for (const Link& link : links) {
        if (link.Command == command) {
            return QString::fromLatin1(link.Site) + QString::fromLatin1(link.Path);
        }
    }
    return {};
}

QString WebPageAddress(const QString& address, const QString& build, int connection) {
    // QString::number never uses the locale's digits or signs.
    return address + QStringLiteral("?KettrikVersion=") + build + QStringLiteral("&Link=") +
           QString::number(connection);
}

} // namespace kettrik

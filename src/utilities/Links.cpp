#include "utilities/Links.h"

#include "platform/Dialogs.h"
#include "platform/Shell.h"

#include <QFileInfo>
#include <QUrlQuery>

namespace vexlor::utilities {

namespace {

QString notSet(const char* key, const QString& what)
{
    return QStringLiteral("No %1 is configured for this link.\r\nSet [%2] in qorvanix.ini, then try again.")
        .arg(what, QLatin1String(key));
}

QString notValid(const char* key, const QString& value, const QString& what)
{
    return QStringLiteral("[%1] in qorvanix.ini is not %2:\r\n%3").arg(QLatin1String(key), what, value);
}

// user@host, with nothing that could smuggle headers or a second address into the mailto: link.
bool plainAddress(const QString& a)
{
    const qsizetype at = a.indexOf(QLatin1Char('@'));
    if (at <= 0 || at != a.lastIndexOf(QLatin1Char('@')) || at == a.size() - 1)
        return false;
    for (const QChar c : a) {
        if (c.unicode() <= 0x20 || c.unicode() == 0x7f || QStringLiteral("?&,;:<>\"()[]\\/%").contains(c))
            return false;
    }
    return true;
}

} // namespace

Links::Links(platform::Shell& shell, platform::Dialogs& dialogs, std::function<LinkTargets()> targets,
             QString documentation)
    : m_shell(shell), m_dialogs(dialogs), m_targets(std::move(targets)), m_documentation(std::move(documentation))
{
}

QString Links::aboutSubject() { return QStringLiteral("About Vexlor"); }

Links::Target Links::webTarget(const QString& configured, const char* key) const
{
    const QString value = configured.trimmed();
    if (value.isEmpty()) {
        if (!m_documentation.isEmpty() && QFileInfo(m_documentation).isFile())
            return {QUrl::fromLocalFile(QFileInfo(m_documentation).absoluteFilePath()), {}};
        return {{}, QStringLiteral("No web address is configured for this link, and the documentation that "
                                   "comes with Vexlor was not found.\r\nSet [%1] in qorvanix.ini, then try again.")
                        .arg(QLatin1String(key))};
    }
    const QUrl url(value, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return {{}, notValid(key, value, QStringLiteral("a web address (http:// or https://)"))};
    return {url, {}};
}

Links::Target Links::mailTarget(const QString& configured, const char* key, const QString& subject)
{
    QString value = configured.trimmed();
    if (value.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive))
        value = value.mid(7);
    if (value.isEmpty())
        return {{}, notSet(key, QStringLiteral("mail address"))};
    if (!plainAddress(value))
        return {{}, notValid(key, value, QStringLiteral("a mail address (name@example.org)"))};
    QUrl url;
    url.setScheme(QStringLiteral("mailto"));
    url.setPath(value);
    if (!subject.isEmpty()) {
        QUrlQuery query;
        query.addQueryItem(QStringLiteral("subject"), subject);
        url.setQuery(query);
    }
    return {url, {}};
}

Links::Target Links::target(Link link) const
{
    const LinkTargets t = m_targets();
    switch (link) {
    case Link::WebSite:
        return webTarget(t.webSite, "WebSite");
    case Link::ListPage:
        return webTarget(t.listPage, "MailingListPage");
    case Link::ScannerPage:
        return webTarget(t.scannerPage, "ScannerPage");
    case Link::Mail:
        return mailTarget(t.mailAddress, "MailAddress");
    case Link::AboutMail:
        return mailTarget(t.mailAddress, "MailAddress", aboutSubject());
    case Link::ListPost:
        return mailTarget(t.listPost, "MailingListPost");
    case Link::ListSubscribe:
        return mailTarget(t.listSubscribe, "MailingListSubscribe");
    case Link::ListUnsubscribe:
        return mailTarget(t.listUnsubscribe, "MailingListUnsubscribe");
    }
    return {};
}

void Links::open(Link link)
{
    const Target t = target(link);
    if (!t.url.isValid()) {
        m_dialogs.message({t.problem, {}, platform::Dialogs::Buttons::Ok, platform::Dialogs::Icon::Information});
        return;
    }
    m_shell.openUrl(t.url);
}

} // namespace vexlor::utilities

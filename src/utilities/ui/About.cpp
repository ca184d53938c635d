#include "utilities/ui/About.h"

#include "utilities/Links.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vexlor::utilities {

namespace {

const char* const kNotes =
    "Vexlor is freeware: use it, copy it and give it away at no charge. It comes with no warranty of any kind; "
    "you use it at your own risk.\n\n"
    "Vexlor controls and monitors the BC245XLT receiver through its PC-control port. It does not modify the "
    "receiver's firmware.\n\n"
    "Uniden and BC245XLT are trademarks of their owner. Vexlor is not made, endorsed or supported by the "
    "receiver's maker; the names are used only to say which receiver it works with.";

// Which link each link label opens.
const std::pair<const char*, Links::Link> kLinkLabels[] = {
    {"MailLbl", Links::Link::AboutMail},
    {"LastNewsLbl", Links::Link::WebSite},
    {"ScannerLbl_0", Links::Link::ScannerPage},
    {"ScannerLbl_1", Links::Link::ScannerPage},
};

} // namespace

About::About(Links& links, const QString& versionText, QWidget* parent)
    : QDialog(parent), m_links(links)
{
    setObjectName(QStringLiteral("About"));
    setWindowTitle(QStringLiteral("About Vexlor..."));
    setWindowModality(Qt::ApplicationModal);

    QLabel* title = label(QStringLiteral("TitleLbl"), QStringLiteral("Vexlor"));
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 2);
    big.setBold(true);
    title->setFont(big);
    QLabel* version = label(QStringLiteral("versionlbl"), versionText);
    QLabel* subtitle = label(QStringLiteral("SubtitleLbl"), QStringLiteral("Remote control and monitoring for the BC245XLT"));

    auto* text = new QPlainTextEdit(QString::fromLatin1(kNotes), this);
    text->setObjectName(QStringLiteral("Text1"));
    text->setReadOnly(true);
    text->viewport()->installEventFilter(this);
    m_textView = text->viewport();

    QLabel* mail = label(QStringLiteral("MailLbl"), QStringLiteral("Write to the author"),
                         QStringLiteral("Compose a mail to the address set as [MailAddress] in qorvanix.ini"));
    QLabel* web = label(QStringLiteral("LastNewsLbl"), QStringLiteral("Our Official Web Site"),
                        QStringLiteral("The address set as [WebSite] in qorvanix.ini, or the documentation that "
                                       "comes with Vexlor"));
    QLabel* scanner = label(QStringLiteral("ScannerLbl_0"), QStringLiteral("More about the receiver"),
                            QStringLiteral("The page set as [ScannerPage] in qorvanix.ini"));
    m_scannerAddress = label(QStringLiteral("ScannerLbl_1"), {}, scanner->toolTip());
    for (QLabel* l : {mail, web, scanner, m_scannerAddress}) {
        QFont f = l->font();
        f.setUnderline(true);
        l->setFont(f);
        l->setCursor(Qt::PointingHandCursor);
        l->setStyleSheet(QStringLiteral("color: #0645ad"));
    }

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKCmd"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QWidget::close);

    auto* head = new QVBoxLayout;
    head->addWidget(title, 0, Qt::AlignHCenter);
    head->addWidget(version, 0, Qt::AlignHCenter);
    head->addWidget(subtitle, 0, Qt::AlignHCenter);
    auto* linksRow = new QHBoxLayout;
    linksRow->addWidget(mail);
    linksRow->addStretch(1);
    linksRow->addWidget(web);
    auto* scannerRow = new QHBoxLayout;
    scannerRow->addWidget(scanner);
    scannerRow->addWidget(m_scannerAddress, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    auto* column = new QVBoxLayout(this);
    column->addLayout(head);
    column->addWidget(text, 1);
    column->addLayout(linksRow);
    column->addLayout(scannerRow);
    column->addLayout(buttons);
    resize(460, 340);
}

QLabel* About::label(const QString& name, const QString& text, const QString& tip)
{
    auto* l = new QLabel(text, this);
    l->setObjectName(name);
    l->setToolTip(tip);
    l->installEventFilter(this);
    return l;
}

// The address shown follows the configuration, which may have changed since the last showing.
void About::refreshTargets()
{
    const Links::Target t = m_links.target(Links::Link::ScannerPage);
    const bool document = t.url.isLocalFile();
    m_scannerAddress->setText(!t.url.isValid() ? QStringLiteral("(not configured)")
                              : document       ? QStringLiteral("(the documentation)")
                                               : t.url.toString());
}

void About::showEvent(QShowEvent* event)
{
    refreshTargets();
    QDialog::showEvent(event);
}

bool About::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_textView) {
        if (event->type() == QEvent::MouseButtonDblClick) {
            close();
            return true;
        }
        return false;
    }
    if (event->type() != QEvent::MouseButtonRelease || static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
        return QDialog::eventFilter(watched, event);
    for (const auto& [name, link] : kLinkLabels) {
        if (watched->objectName() == QLatin1String(name)) {
            m_links.open(link);
            return true;
        }
    }
    if (qobject_cast<QLabel*>(watched)) {
        close();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void About::mouseDoubleClickEvent(QMouseEvent* event)
{
    close();
    QDialog::mouseDoubleClickEvent(event);
}

} // namespace vexlor::utilities

#include "moc_About.cpp"

#include "app/ui/StatusFrame.h"

#include "app/ui/FieldLabel.h"
#include "app/ui/LampLabel.h"
#include "app/ui/Look.h"
#include "app/ui/NameLabel.h"
#include "app/ui/Pictures.h"
#include "link/ScannerLink.h"
#include "monitor/ModeTable.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

#include <algorithm>

namespace vexlor::app {

namespace {

QLabel* named(const QString& name, QWidget* parent, const QString& text = {})
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

// An unlabelled field: its placeholder and tip say what it shows.
template <typename Label = FieldLabel>
Label* field(const QString& name, int chars, const QString& placeholder, const QString& tip, QWidget* parent)
{
    auto* l = new Label(parent);
    l->setObjectName(name);
    styleField(l, chars);
    l->setPlaceholderText(placeholder);
    l->setToolTip(tip);
    return l;
}

// Wide enough for the longest caption the mode line can show.
int widestMode(const QFontMetrics& fm)
{
    int widest = fm.horizontalAdvance(link::ScannerLink::kOfflineText);
    for (int code = 0; code < 32; ++code) {
        if (const auto caption = monitor::modeCaption(code))
            widest = std::max(widest, fm.horizontalAdvance(*caption));
    }
    return widest;
}

QLabel* caption(const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return l;
}

} // namespace

StatusFrame::StatusFrame(QWidget* parent)
    : QGroupBox(QStringLiteral("Status"), parent)
{
    setObjectName(QStringLiteral("Frame2"));

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(5, 2, 5, 4);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(3);

    // Mode line: caption, pictures for squelch and talkgroup, priority mark.
    grid->addWidget(caption(QStringLiteral("Mode"), this), 0, 0);
    auto* modeRow = new QHBoxLayout;
    modeRow->setSpacing(4);
    auto* mode = named(QStringLiteral("ModeLbl"), this);
    mode->setFont(modeFont());
    mode->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    mode->setMinimumSize(widestMode(mode->fontMetrics()), mode->fontMetrics().height());
    modeRow->addWidget(mode, 1);
    auto* pri = named(QStringLiteral("PriLbl"), this, QStringLiteral("P"));
    pri->setFont(modeFont());
    pri->setToolTip(QStringLiteral("Priority channel"));
    pri->setStyleSheet(QStringLiteral("color: rgb(255,0,0);"));
    pri->setVisible(false);
    modeRow->addWidget(pri);
    auto* sq = named(QStringLiteral("SQopen"), this);
    sq->setPixmap(pictures::squelchOpen());
    sq->setToolTip(QStringLiteral("Squelch open: a signal is received"));
    sq->setVisible(false);
    modeRow->addWidget(sq);
    auto* listen = named(QStringLiteral("IDListen"), this);
    listen->setPixmap(pictures::talkgroupHeard());
    listen->setToolTip(QStringLiteral("A talkgroup call is heard"));
    listen->setVisible(false);
    modeRow->addWidget(listen);
    // Keep the row's height when the pictures come and go.
    auto* spacer = new QWidget(this);
    spacer->setFixedSize(0, 18);
    modeRow->addWidget(spacer);
    grid->addLayout(modeRow, 0, 1, 1, 3);

    // Frequency and channel.
    grid->addWidget(caption(QStringLiteral("Freq"), this), 1, 0);
    auto* freq = named(QStringLiteral("FrequencyBox"), this);
    styleReadout(freq, 7);
    freq->setToolTip(QStringLiteral("Frequency in MHz"));
    grid->addWidget(freq, 1, 1);
    auto* chRow = new QHBoxLayout;
    chRow->setSpacing(3);
    chRow->addWidget(caption(QStringLiteral("Ch"), this));
    auto* ch = named(QStringLiteral("ChLbl"), this);
    styleField(ch, 6);
    ch->setAlignment(Qt::AlignCenter);
    ch->setToolTip(QStringLiteral("Memory channel"));
    chRow->addWidget(ch, 1);
    grid->addLayout(chRow, 1, 2);
    auto* type = field(QStringLiteral("TypeLbl"), 6, QStringLiteral("type"), QStringLiteral("Channel type"), this);
    type->setAlignment(Qt::AlignCenter);
    grid->addWidget(type, 1, 3);

    auto* name = field<NameLabel>(QStringLiteral("NameLbl"), 24, QStringLiteral("channel name"),
                                  QStringLiteral("Channel name; right-click to change its font"), this);
    grid->addWidget(name, 2, 1, 1, 3);

    // Talkgroup.
    grid->addWidget(caption(QStringLiteral("ID"), this), 3, 0);
    auto* id = named(QStringLiteral("IDbox"), this);
    styleReadout(id, 6);
    id->setToolTip(QStringLiteral("Talkgroup ID"));
    grid->addWidget(id, 3, 1);
    auto* idName = field<NameLabel>(QStringLiteral("IDNameLbl"), 14, QStringLiteral("ID name"),
                                    QStringLiteral("Talkgroup name; right-click to change its font"), this);
    grid->addWidget(idName, 3, 2);
    auto* idType = field(QStringLiteral("IDTypeLbl"), 6, QStringLiteral("type"), QStringLiteral("Talkgroup type"), this);
    idType->setAlignment(Qt::AlignCenter);
    grid->addWidget(idType, 3, 3);

    // Function lamps, then bank lamps.
    static const char* const kFunctions[] = {"DATA", "ATT", "PRI", "DLY", "L/O"};
    static const char* const kFunctionTips[] = {"Data skip", "Attenuator", "Priority", "Delay", "Lock-out"};
    auto* functions = new QHBoxLayout;
    functions->setSpacing(2);
    for (int i = 0; i < 5; ++i) {
        auto* lamp = new LampLabel(QString::fromLatin1(kFunctions[i]), this);
        lamp->setObjectName(QStringLiteral("buttonlbl_%1").arg(i));
        lamp->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
        lamp->setToolTip(QStringLiteral("%1: red when on; click to switch").arg(QLatin1String(kFunctionTips[i])));
        functions->addWidget(lamp, 1);
        m_functionLamps[std::size_t(i)] = lamp;
    }
    grid->addLayout(functions, 4, 0, 1, 4);

    auto* banks = new QHBoxLayout;
    banks->setSpacing(1);
    banks->addWidget(caption(QStringLiteral("Banks"), this));
    for (int i = 1; i <= 10; ++i) {
        auto* lamp = new LampLabel(QString::number(i), this);
        lamp->setObjectName(QStringLiteral("BankLbl_%1").arg(i));
        lamp->setToolTip(QStringLiteral("Frequency bank %1: red when scanned; click to switch").arg(i));
        banks->addWidget(lamp, 1);
        m_bankLamps[std::size_t(i - 1)] = lamp;
    }
    grid->addLayout(banks, 5, 0, 1, 4);

    // Each column grows by the same factor, so the readouts keep their proportions.
    freq->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    id->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    grid->setColumnStretch(1, freq->minimumWidth());
    grid->setColumnStretch(2, idName->minimumWidth());
    grid->setColumnStretch(3, idType->minimumWidth());
}

LampLabel* StatusFrame::functionLamp(int index) const
{
    return index >= 0 && index < 5 ? m_functionLamps[std::size_t(index)] : nullptr;
}

LampLabel* StatusFrame::bankLamp(int bank) const
{
    return bank >= 1 && bank <= 10 ? m_bankLamps[std::size_t(bank - 1)] : nullptr;
}

} // namespace vexlor::app

#include "moc_StatusFrame.cpp"

// Any bytes from a remote client through the message framing into the protocol's actions.
#include "FakeClock.h"
#include "FakeSerialPort.h"
#include "FakeSocket.h"
#include "FuzzSupport.h"

#include "link/ScannerLink.h"
#include "monitor/MainDisplay.h"
#include "remote/MessageFramer.h"
#include "remote/Protocol.h"
#include "remote/RemoteLink.h"

using namespace vexlor;
using remote::AccessRules;
using remote::MessageFramer;
using remote::RemoteLink;
using Kind = remote::protocol::Action::Kind;

namespace {

struct Rig {
    fakes::FakeClock clock;
    fakes::FakeSerialPort port;
    link::ScannerLink scanner {port, clock};
    monitor::MainDisplay display;
    fakes::FakeSocket tcp1;
    AccessRules rules;
    int chats = 0;
    RemoteLink remote {tcp1, scanner, display, clock,
                       {[] { return false; }, [](bool) {}, [this] { return rules; }, [](const QString&) {}}};

    explicit Rig(const QString& password)
    {
        rules.bind = QStringLiteral("127.0.0.1");
        rules.password = password;
        port.open();
        QObject::connect(&remote, &RemoteLink::chatReceived, [this](const QString&) { ++chats; });
        tcp1.listen();
        if (!tcp1.request(QStringLiteral("10.0.0.7")))
            fuzz::violated("the client was not accepted");
    }

    // Lets the link work through what waits, a turn at a time.
    void settle()
    {
        for (int turn = 0; turn < 100000 && remote.waitingMessages() > 0; ++turn)
            QCoreApplication::processEvents();
        VEXLOR_FUZZ_CHECK(remote.waitingMessages() == 0);
    }
};

// Through an open link every receiver line and chat line reaches its place, in order.
void openLink(const QList<QByteArray>& pieces)
{
    Rig rig {QString()};
    MessageFramer framer;
    QByteArray expected;
    int chats = 0;
    int ticks = 0;
    for (const QByteArray& piece : pieces) {
        rig.tcp1.arrive(piece);
        rig.settle();
        VEXLOR_FUZZ_CHECK(rig.remote.pendingInput() <= MessageFramer::kMaxMessage);
        for (const QByteArray& m : framer.feed(piece)) {
            VEXLOR_FUZZ_CHECK(!m.contains('\r') && m.size() <= MessageFramer::kMaxMessage);
            const auto action = remote::protocol::actionFor(QString::fromLatin1(m));
            if (action.kind == Kind::Serial)
                expected += action.text.toLatin1() + '\r';
            else if (action.kind == Kind::Chat)
                ++chats;
        }
        VEXLOR_FUZZ_CHECK(framer.pendingSize() <= MessageFramer::kMaxMessage);
        // Every eighth tick asks the receiver for the banks the client is shown.
        rig.remote.forwardTick();
        rig.remote.statusUpkeep();
        if (++ticks % RemoteLink::kForwardEvery == 0)
            expected += "SB\r";
    }
    VEXLOR_FUZZ_CHECK(rig.port.written == expected);
    VEXLOR_FUZZ_CHECK(rig.chats == chats);
}

// A locked link lets nothing through before the right password.
void lockedLink(const QList<QByteArray>& pieces)
{
    Rig rig {QStringLiteral("secret")};
    for (const QByteArray& piece : pieces) {
        rig.tcp1.arrive(piece);
        rig.settle();
        VEXLOR_FUZZ_CHECK(rig.remote.pendingInput() <= MessageFramer::kMaxMessage);
    }
    if (!pieces.join().contains("?p=secret")) {
        VEXLOR_FUZZ_CHECK(rig.port.written.isEmpty());
        VEXLOR_FUZZ_CHECK(rig.chats == 0);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::ensureApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QList<QByteArray> pieces = fuzz::arrivals(fuzz::bytesOf(data, size));
    openLink(pieces);
    lockedLink(pieces);
    return 0;
}

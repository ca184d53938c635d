#include "utilities/HelpTexts.h"

#include "memory/MemoryTables.h"

namespace vexlor::utilities::helptexts {

Help typeHelp()
{
    QString text = QStringLiteral(
        "The type system classifies frequencies and talkgroups by the type of agency that uses them. "
        "Give each channel and each talkgroup one of these codes; the main window shows it beside the name.\n\n");
    for (const auto& code : memory::MemoryTables::TypeCodes)
        text += QLatin1Char('\t') + QString(code.code) + QStringLiteral(" = ") + QString(code.meaning) + QLatin1Char('\n');
    return {QStringLiteral("HelpType"), QStringLiteral("Help on 'Type'"), text};
}

Help centerTuningHelp()
{
    return {QStringLiteral("HelpCenterTuning"), QStringLiteral("Help On Center Tuning"),
            QStringLiteral(
                "Center tuning shows how far the signal being received is from the frequency the receiver is set to.\n\n"
                "Turn it on with Options > Center Tuning (Ctrl+C). The \"Center Tuning\" frame of the main window then "
                "shows a scale from +5 to -5 kHz. The central bar marks the centre frequency, and the red pointer moves "
                "around it as the receiver reports the offset. When the pointer stands at the bar, the receiver is on "
                "frequency.\n\n"
                "Try it in search mode: stop on an active frequency, then step with the up and down keys around it and "
                "watch the pointer move to the bar and away again.")};
}

Help tcpHelp()
{
    return {QStringLiteral("HelpTCP"), QStringLiteral("Help On TCP Connection"),
            QStringLiteral(
                "The TCP connection (Options > TCP / Remote) lets one other user, on the local network or over the "
                "internet, follow this receiver and drive it through Vexlor: the remote user sees the frequency, "
                "channel and talkgroup with their names, presses the receiver's keys and chats with you.\n\n"
                "Any client that speaks the link's line protocol works; vexlor-remote, installed with Vexlor, is one "
                "for the terminal. Set a password in qorvanix.ini before you listen on a network others can reach: "
                "README explains RemotePassword, RemoteAllow and RemoteBind.\n\n"
                "The link carries no sound. To let the remote user hear the receiver, stream its audio with a separate "
                "program, for example an Icecast server fed by ffmpeg or darkice from the sound card input.")};
}

Help communityHelp()
{
    return {QStringLiteral("HelpICQ"), QStringLiteral("Help on the Vexlor community"),
            QStringLiteral(
                "Vexlor has no instant-messaging community list of its own.\n\n"
                "To talk with another listener while you share your receiver, use the chat of the TCP connection: "
                "CHAT in the main window once a remote user is connected.\n\n"
                "Questions, reports of a receiver that misbehaves and suggestions go to the people who gave you this "
                "copy of Vexlor; the README that comes with it says what the program does and where it keeps its "
                "files.")};
}

} // namespace vexlor::utilities::helptexts

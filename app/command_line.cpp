#include "app/command_line.h"

#include <QCommandLineParser>

#include "bank/window_title.h"

namespace cadenzo {

namespace {

const QCommandLineOption kHelp({"h", "help"}, "Show this help and stop.");
const QCommandLineOption kVersion({"v", "version"}, "Show the version and stop.");
const QCommandLineOption kDir(
    "dir",
    "Keep the settings (Ostinata.opt), the port names (Ostinata.ports) and the bank (def.cdb) in DIR, "
    "made when missing; a leading ~/ stands for the home folder. Default: the current folder.",
    "DIR");
const QCommandLineOption kMidi("midi",
                               "Use only this MIDI service: alsa or jack. Default: the ALSA sequencer when "
                               "/dev/snd/seq opens, else JACK (a server that starts later is taken up).",
                               "alsa|jack");

CommandLine Fail(const QString& message) {
    return {CommandLine::Outcome::Error, {}, message.toStdString()};
}

std::string HelpText(const QCommandLineParser& parser) {
    // The usage line names the program as it is installed: Qt would write the
    // path it was started by, or a placeholder while no application object
    // exists (as here, before any window).
    QString text = parser.helpText();
    text.replace(0, text.indexOf('\n'), "Usage: cadenzo [options]");
    return text.toStdString();
}

}  // namespace

CommandLine ParseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "A live-performance MIDI controller: one or two MIDI keyboards played\n"
        "through a bank of mixes into a synthesiser.");
    // "-platform" is one unknown option, not eight unknown letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions({kHelp, kVersion, kDir, kMidi});
    if (!parser.parse(arguments)) return Fail(parser.errorText());
    if (parser.isSet(kHelp)) return {CommandLine::Outcome::Help, {}, HelpText(parser)};
    if (parser.isSet(kVersion))
        return {CommandLine::Outcome::Version, {}, "cadenzo " + std::string(ProgramVersion()) + "\n"};
    if (!parser.positionalArguments().isEmpty())
        return Fail("Unexpected argument '" + parser.positionalArguments().first() + "'.");

    CommandLine result;
    if (parser.isSet(kDir)) {
        const QString dir = parser.value(kDir);
        if (dir.isEmpty()) return Fail("--dir needs a folder name.");
        // Bytes that are not UTF-8 came in as replacement characters: the
        // name would come back as another folder's.
        if (dir.contains(QChar::ReplacementCharacter)) return Fail("--dir takes a folder name in UTF-8; this one is not.");
        result.options.dir = dir.toLocal8Bit().toStdString();  // as the process got it
    }
    if (parser.isSet(kMidi)) {
        const QString midi = parser.value(kMidi);
        if (midi == "alsa") result.options.midi = MidiService::Alsa;
        else if (midi == "jack") result.options.midi = MidiService::Jack;
        else return Fail("--midi takes alsa or jack, not '" + midi + "'.");
    }
    return result;
}

}  // namespace cadenzo

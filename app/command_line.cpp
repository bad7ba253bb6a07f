#include "app/command_line.h"

#include <QCommandLineParser>

#include "app/option_texts.h"
#include "bank/window_title.h"

namespace cadenzo {

namespace {

QCommandLineOption QtOption(const OptionText& option) {
    QStringList names;
    if (option.shortName) names << option.shortName;
    names << option.longName;
    if (!option.valueName) return QCommandLineOption(names, option.description);
    return QCommandLineOption(names, option.description, option.valueName);
}

CommandLine Fail(const QString& message) {
    return {CommandLine::Outcome::Error, {}, message.toStdString()};
}

std::string HelpText(const QCommandLineParser& parser) {
    // The usage line names the program as it is installed: Qt would write the
    // path it was started by, or a placeholder while no application object
    // exists (as here, before any window).
    QString text = parser.helpText();
    text.replace(0, text.indexOf('\n'), "Usage: cadenzo [options]");
    text += "\nKeys:\n";
    for (const KeyText& key : kKeyTexts) text += QString("  %1\n      %2\n").arg(key.keys, key.description);
    text += QString("\n") + kFilesText + "\n";
    return text.toStdString();
}

}  // namespace

CommandLine ParseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(kProgramDescription);
    // "-platform" is one unknown option, not eight unknown letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const OptionText* option : kOptionTexts) parser.addOption(QtOption(*option));
    if (!parser.parse(arguments)) return Fail(parser.errorText());
    if (parser.isSet(kHelpOption.longName)) return {CommandLine::Outcome::Help, {}, HelpText(parser)};
    if (parser.isSet(kVersionOption.longName))
        return {CommandLine::Outcome::Version, {}, "cadenzo " + std::string(ProgramVersion()) + "\n"};
    if (!parser.positionalArguments().isEmpty())
        return Fail("Unexpected argument '" + parser.positionalArguments().first() + "'.");

    CommandLine result;
    if (parser.isSet(kDirOption.longName)) {
        const QString dir = parser.value(kDirOption.longName);
        if (dir.isEmpty()) return Fail("--dir needs a folder name.");
        // Bytes that are not UTF-8 came in as replacement characters: the
        // name would come back as another folder's.
        if (dir.contains(QChar::ReplacementCharacter)) return Fail("--dir takes a folder name in UTF-8; this one is not.");
        result.options.dir = dir.toLocal8Bit().toStdString();  // as the process got it
    }
    if (parser.isSet(kMidiOption.longName)) {
        const QString midi = parser.value(kMidiOption.longName);
        const std::optional<MidiService> named = MidiServiceNamed(midi.toStdString());
        if (!named) return Fail("--midi takes " + QString::fromStdString(MidiServiceOptions()) + ", not '" + midi + "'.");
        result.options.midi = *named;
    }
    if (parser.isSet(kListDevicesOption.longName)) result.outcome = CommandLine::Outcome::ListDevices;
    return result;
}

}  // namespace cadenzo

#include "bank/setup_save.h"

#include "bank/file_io.h"
#include "bank/options_file.h"
#include "bank/ports_file.h"
#include "bank/settings_file.h"
#include "services/dialogs.h"

namespace cadenzo {

namespace {

// One file's save; a file that cannot be created is reported like a short write.
template <class Save>
bool Written(Dialogs& dialogs, Save save) {
    try {
        return save();
    } catch (const FileError& e) {
        ShowException(dialogs, e.what());
        return false;
    }
}

}  // namespace

bool SaveSetup(const SetupToSave& what, Dialogs& dialogs) {
    if (!Written(dialogs, [&] { return SavePortsFile(what.devices, dialogs, what.orders, what.clientPorts); })) {
        dialogs.MessageBox(kNothingSavedText, "Bad Write");
        return false;
    }
    if (!Written(dialogs, [&] { return SaveOptions(what.options, what.openPorts, dialogs); })) {
        dialogs.MessageBox(kOnlyPortsSavedText, "Bad Write");
        return false;
    }
    return Written(dialogs, [&] { return SaveSettingsFile(what.program, dialogs); });
}

}  // namespace cadenzo

#include "bank/settings_save.h"

#include "bank/file_io.h"
#include "bank/options_file.h"
#include "bank/ports_file.h"
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

bool SaveSettings(OptionsRecord& o, const std::array<uint32_t, 6>& openPorts,
                  const std::array<std::string, 6>& devices, Dialogs& dialogs, const PortOrders& orders,
                  const PortClientPorts& clientPorts) {
    if (!Written(dialogs, [&] { return SavePortsFile(devices, dialogs, orders, clientPorts); })) {
        dialogs.MessageBox(kNothingSavedText, "Bad Write");
        return false;
    }
    if (!Written(dialogs, [&] { return SaveOptions(o, openPorts, dialogs); })) {
        dialogs.MessageBox(kOnlyPortsSavedText, "Bad Write");
        return false;
    }
    return true;
}

}  // namespace cadenzo

#include "ui/stored_bank.h"

#include <memory>

#include "bank/blend_file.h"
#include "bank/file_io.h"
#include "engine/system_state.h"
#include "services/dialogs.h"

namespace cadenzo {

void WriteStoredBank(SystemState& s) {
    if (!s.Bank.StoreUnwritten.exchange(false, std::memory_order_relaxed)) return;
    const auto image = std::make_unique<MixBank>(s.Bank.Bank);  // the bank as stored, taken under the lock
    const std::string path = BlendFileForShutdown(s.BlendFileName);
    Dialogs& dialogs = *s.Io.dialogs;
    bool written = false;
    {
        const EngineReleased released(s.Engine);
        try {
            written = SaveBankImage(*image, path, dialogs);
        } catch (const FileError& e) {
            ShowException(dialogs, e.what());
        }
    }
    // A default file made here is the program's own: later stores and the
    // exit write replace it.
    if (written) s.BlendFileName = path;
}

}  // namespace cadenzo

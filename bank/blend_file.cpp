#include "bank/blend_file.h"

#include <algorithm>
#include <memory>

#include "bank/file_io.h"
#include "bank/window_title.h"
#include "services/dialogs.h"
#include "services/display.h"

namespace cadenzo {

namespace {

template <size_t N>
void FixAllZero(std::array<uint8_t, N>& field) {
    if (std::all_of(field.begin(), field.end(), [](uint8_t b) { return b == 0; })) field.fill(64);
}

}  // namespace

void ApplyBlendFixups(MixBank& bank) {
    for (Mix& m : bank.Slots) {
        if (m.PortaSpeed == 0) m.PortaSpeed = 30;
        if (m.BendRange == 0) m.BendRange = 2;
        FixAllZero(m.KeyboardScale);
        FixAllZero(m.EQ12);
        FixAllZero(m.EQ34);
        FixAllZero(m.EQ56);
    }
}

bool LoadBlendFile(BankState& bank, std::string& blendFileName, const std::string& path,
                   Dialogs& dialogs, Display& display) {
    if (!FileExists(path)) {
        dialogs.MessageBox("Blends file \"" + path +
                               "\" not exist!\nInitializing All Blends With Deffault Values!",
                           "Errorr!");
        return false;
    }
    // Read into a scratch image first so that a rejected file changes nothing.
    auto image = std::make_unique<MixBank>();
    const size_t got = ReadFilePrefix(path, reinterpret_cast<uint8_t*>(image.get()), sizeof(MixBank));
    if (got < sizeof(MixBank)) {
        dialogs.MessageBox("Error Loading Blend File ! - Bad size or format!", "Bad Read");
        return false;
    }
    bank.Bank = *image;
    blendFileName = path;
    if (auto title = LoadedBlendTitle(path)) display.SetTitle(*title);
    ApplyBlendFixups(bank.Bank);
    return true;
}

bool SaveBlendFile(const BankState& bank, const std::string& path, Dialogs& dialogs) {
    return SaveBankImage(bank.Bank, path, dialogs);
}

bool SaveBankImage(const MixBank& bank, const std::string& path, Dialogs& dialogs) {
    if (ReplaceFileContent(path, reinterpret_cast<const uint8_t*>(&bank), sizeof(MixBank))) return true;
    dialogs.MessageBox("Error Writing Blend File !", "Bad Write");
    return false;
}

std::string BlendFileForShutdown(const std::string& blendFileName) {
    if (blendFileName.empty() && !FileExists(kDefaultBlendFile)) return kDefaultBlendFile;
    return blendFileName;
}

}  // namespace cadenzo

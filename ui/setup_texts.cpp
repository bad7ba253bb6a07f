#include "ui/setup_texts.h"

#include "ui/text_format.h"

namespace cadenzo {

const std::array<const char*, 128> kControllerNames = [] {
    std::array<const char*, 128> names{};
    names.fill("Control");
    const std::pair<int, const char*> named[] = {
        {0, "Bnak Sel MSB"},     {1, "Modulation"},       {2, "Breath Ctrl"},      {4, "Foot Ctrl"},
        {5, "Porta Time"},       {6, "Data Ent MSB"},     {7, "Main Volume"},      {8, "Balance"},
        {10, "Pan"},             {11, "Expression"},      {16, "Gen.Purp.1"},      {17, "Gen.Purp.2"},
        {18, "Gen.Purp.3"},      {19, "Gen.Purp.4"},      {32, "Bnak Sel LSB"},    {33, "Modulation LSB"},
        {34, "Brth Ctrl LSB"},   {36, "Foot Ctrl LSB"},   {37, "Porta Time LSB"},  {38, "Data Ent LSB"},
        {39, "Main Volume LSB"}, {40, "Balance LSB"},     {42, "Pan LSB"},         {43, "Expr. LSB"},
        {48, "Gen.Prp1.LSB"},    {49, "Gen.Prp2.LSB"},    {50, "Gen.Prp3.LSB"},    {51, "Gen.Prp4.LSB"},
        {64, "Sustain"},         {65, "Porta. Pad"},      {66, "Sostenuto"},       {67, "Soft Pedal"},
        {69, "Hold 2"},          {71, "Harmonic Chorus"}, {72, "Release Trim"},    {73, "Attack Time"},
        {74, "Brightness"},      {80, "Gen.Purp.5"},      {81, "Gen.Purp.6"},      {82, "Gen.Purp.7"},
        {83, "Gen.Purp.8"},      {84, "PortaCtrl"},       {91, "Effect1 Depth"},   {92, "Effect2 Depth"},
        {93, "Effect3 Depth"},   {94, "Effect4 Depth"},   {95, "Phaser Depth"},    {96, "Data Increase"},
        {97, "Data Decrease"},   {98, "NRPN LSB"},        {99, "NRPN MSB"},        {100, "RPN LSB"},
        {101, "RPN MSB"},        {120, "All Snd Off"},    {121, "Reset All Ctrl"}, {122, "Local Ctrl"},
        {123, "All Note Off"},   {124, "Omni Mode Off"},  {125, "Omni Mode On"},   {126, "Mono Mode On"},
        {127, "Poly Mode On"},
    };
    for (const auto& [n, name] : named) names[n] = name;
    return names;
}();

std::string ControllerItem(int n) { return Printf("%03d - %s", n, kControllerNames[n]); }

std::vector<std::string> FootswitchItems() {
    std::vector<std::string> items{"000 - None"};
    for (int n = 1; n < 128; ++n) items.push_back(ControllerItem(n));
    return items;
}

std::vector<std::string> UserControllerItems() {
    std::vector<std::string> items{"Unused"};
    for (int n = 0; n < 128; ++n) items.push_back(Printf("CC %03d", n));
    return items;
}

std::vector<std::string> NoteOffDelayItems() {
    std::vector<std::string> items;
    for (int i = 0; i < 50; ++i) items.push_back(Printf(" %3d ms", i * 10 + 10));
    return items;
}

std::vector<std::string> ChannelItems(bool withAll) {
    std::vector<std::string> items;
    for (int c = 1; c <= 16; ++c) items.push_back(Printf("Ch %d", c));
    if (withAll) items.emplace_back("All  Channels");
    return items;
}

std::string AbsentDeviceItem(const std::string& name) { return name + " (absent)"; }

std::optional<uint8_t> ApplyMasterVolumeRule(OptionsRecord& o) {
    if (o.MasterVolumePort == 0 || o.MasterVolumeCC >= o.CCBlocked.size()) return std::nullopt;
    o.CCBlocked[o.MasterVolumeCC] = 1;
    return o.MasterVolumeCC;
}

ThruInterlock ThruInterlockFor(bool in1ToThru, uint32_t input3Item) {
    if (in1ToThru) return {true, false};
    return {input3Item == 0, true};
}

}  // namespace cadenzo

#pragma once

// Fixed descriptors of all eleven kinds with plausible values, for the views' tests and the
// gallery: the descriptor layer's widest texts and tints, histories of 60 samples, a CPU
// process list of ten (one name very long) and a memory list of three.
#include <cmath>
#include <string>
#include <vector>

#include "presentation/descriptors.h"
#include "presentation/stat_descriptor.h"
#include "presentation/tile_value.h"
#include "presentation/widest_text.h"

namespace glintdeck::samples {

inline std::vector<double> wave(int count, double base, double swing, double period) {
    std::vector<double> values;
    for (int i = 0; i < count; ++i) {
        double x = static_cast<double>(i);
        values.push_back(
            std::max(0.0, base + swing * std::sin(x / period) + swing / 3 * std::sin(x * 1.7)));
    }
    return values;
}

inline GraphSeries percentSeries(std::string label, std::vector<double> values) {
    return {.values = std::move(values), .label = std::move(label), .marker = "", .peak = 100};
}

inline GraphSeries rateSeries(std::string label, std::string marker, std::vector<double> values,
                              double peak, std::string peakText) {
    return {.values = std::move(values),
            .label = std::move(label),
            .marker = std::move(marker),
            .peak = peak,
            .peakFormatted = std::move(peakText)};
}

inline StatDescriptor withBand(StatDescriptor descriptor, Band band) {
    descriptor.band = band;
    descriptor.tint = tint(band, Theme::StatusStyle::standard);
    return descriptor;
}

// The widest texts of a two-value kind's tile when it shows both values.
inline CombinedValues widestOfBoth(StatKind kind) {
    const TwoValueNames names = twoValueNames(kind).value();
    return combineValues(TileValueMode::both, names.first, names.second);
}

inline StatDescriptor cpu() {
    return withBand(
        {.kind = StatKind::cpu,
         .symbol = "cpu",
         .value = "87%",
         .widestValue = std::string(kWidestPercent),
         .loadPercent = 87,
         .detail = {{"User", "61%"}, {"System", "26%"}, {"Idle", "13%"}, {"Temp", "78°C"}},
         .processSection =
             StatDescriptor::ProcessSection{
                 .title = "Top by CPU",
                 .rows = {{"firefox-esr", "143.2%"},
                          {"org.gnome.Nautilus.ThumbnailerHelperForVeryLargeImageFiles", "61.0%"},
                          {"Xorg", "22.4%"},
                          {"gnome-shell", "12.9%"},
                          {"pipewire", "4.0%"},
                          {"glintdeck", "1.1%"},
                          {"kworker/u16:3", "0.9%"},
                          {"systemd", "0.3%"},
                          {"dbus-daemon", "0.1%"},
                          {"sshd", "0.0%"}},
                 .reservedRows = 10},
         .graph = GraphData{.upper = percentSeries("CPU", wave(60, 55, 30, 6))}},
        Band::hot);
}

inline StatDescriptor memory() {
    return withBand(
        {.kind = StatKind::memory,
         .symbol = "memorychip",
         .value = "U 11,42 GB",
         .widestValue = widestOfBoth(StatKind::memory).widestValue,
         .secondaryValue = "F 4,21 GB",
         .widestSecondaryValue = widestOfBoth(StatKind::memory).widestSecondaryValue,
         .loadPercent = 62,
         .detail = {{"Used", "11,42 GB"},
                    {"Free", "4,21 GB"},
                    {"App", "8,9 GB"},
                    {"Wired", "1,73 GB"},
                    {"Compressed", "812 MB"},
                    {"Total", "15,63 GB"},
                    {"Pressure", "62%"}},
         .processSection =
             StatDescriptor::ProcessSection{
                 .title = "Top by memory",
                 .rows = {{"firefox-esr", "2,1 GB"}, {"gnome-shell", "412 MB"}, {"code", "388 MB"}},
                 .reservedRows = 10},
         .graph = GraphData{.upper = percentSeries("Used", wave(60, 70, 4, 12))}},
        Band::busy);
}

inline StatDescriptor disk() {
    return withBand(
        {.kind = StatKind::disk,
         .symbol = "internaldrive",
         .value = "F 212,4 GB",
         .widestValue = widestOfBoth(StatKind::disk).widestValue,
         .secondaryValue = "U 287,6 GB",
         .widestSecondaryValue = widestOfBoth(StatKind::disk).widestSecondaryValue,
         .loadPercent = 58,
         .detail = {{"Used", "287,6 GB"},
                    {"Free", "212,4 GB"},
                    {"Total", "500 GB"},
                    {"Read", "3,2 MB/s"},
                    {"Write", "412 KB/s"}},
         .graph =
             GraphData{
                 .upper = rateSeries("Read", "R", wave(60, 2e6, 2e6, 5), 5.1e6, "5,1 MB/s"),
                 .lower = rateSeries("Write", "W", wave(60, 4e5, 5e5, 3), 1.2e6, "1,2 MB/s")}},
        Band::busy);
}

inline StatDescriptor network() {
    return withBand(
        {.kind = StatKind::network,
         .symbol = "network",
         .value = "↓ 1,4 MB/s",
         .widestValue = widestOfBoth(StatKind::network).widestValue,
         .secondaryValue = "↑ 86 KB/s",
         .widestSecondaryValue = widestOfBoth(StatKind::network).widestSecondaryValue,
         .loadPercent = 12,
         .detail = {{"Down", "1,4 MB/s"},
                    {"Up", "86 KB/s"},
                    {"Interface", "Wi-Fi (wlp2s0)"},
                    {"Local IP", "192.168.1.23"}},
         .graph =
             GraphData{.upper = rateSeries("Up", "↑", wave(60, 8e4, 9e4, 4), 2.4e5, "240 KB/s"),
                       .lower = rateSeries("Down", "↓", wave(60, 9e5, 1e6, 7), 2.6e6, "2,6 MB/s")}},
        Band::calm);
}

inline StatDescriptor battery() {
    return withBand({.kind = StatKind::battery,
                     .symbol = "battery.75percent",
                     .value = "76%",
                     .widestValue = std::string(kWidestPercent),
                     .loadPercent = 76,
                     .detail = {{"Charge", "76%"},
                                {"State", "On battery"},
                                {"Time", "3:42"},
                                {"Health", "91%"},
                                {"Cycles", "312"},
                                {"Temp", "31°C"}}},
                    Band::calm);
}

inline StatDescriptor gpu() {
    return withBand({.kind = StatKind::gpu,
                     .symbol = "cpu.fill",
                     .value = "7%",
                     .widestValue = std::string(kWidestPercent),
                     .loadPercent = 7,
                     .detail = {{"Utilization", "7%"},
                                {"Device", "Radeon RX 6800/6800 XT / 6900 XT"},
                                {"Temp", "52°C"}},
                     .graph = GraphData{.upper = percentSeries("GPU", wave(60, 8, 7, 9))}},
                    Band::calm);
}

inline StatDescriptor fan() {
    return withBand(
        {.kind = StatKind::fan,
         .symbol = "fanblades",
         .value = "2400 rpm",
         .widestValue = std::string(kWidestFanSpeed),
         .loadPercent = 30,
         .detail = {{"Fan 1", "2400 rpm (1200–5800)"}, {"Fan 2", "1850 rpm (1200–5800)"}}},
        Band::calm);
}

inline StatDescriptor power() {
    return withBand({.kind = StatKind::power,
                     .symbol = "bolt.fill",
                     .value = "18·3 W",
                     .widestValue = std::string(kWidestPower),
                     .loadPercent = 35,
                     .detail = {{"CPU", "17.6 W"},
                                {"GPU", "3.2 W"},
                                {"ANE", "0.0 W"},
                                {"DRAM", "1.1 W"},
                                {"Total", "21.9 W"},
                                {"System", "34.5 W"}}},
                    Band::calm);
}

inline StatDescriptor temps() {
    return withBand({.kind = StatKind::temps,
                     .symbol = "thermometer",
                     .value = "Fair",
                     .widestValue = std::string(kWidestThermalState),
                     .loadPercent = 50,
                     .detail = {{"CPU", "78°C"}, {"GPU", "52°C"}, {"SSD", "41°C"}}},
                    Band::busy);
}

inline StatDescriptor loadAverage() {
    return withBand(
        {.kind = StatKind::loadAverage,
         .symbol = "speedometer",
         .value = "2.41",
         .widestValue = std::string(kWidestLoadAverage),
         .loadPercent = 30,
         .detail = {{"1 min", "2.41"}, {"5 min", "1.87"}, {"15 min", "1.52"}, {"Cores", "8"}}},
        Band::calm);
}

inline StatDescriptor uptime() {
    return {.kind = StatKind::uptime,
            .symbol = "clock",
            .value = "3d 4h",
            .widestValue = std::string(kWidestUptime),
            .detail = {{"Uptime", "3d 4h"}, {"Booted", "Dec 6, 2026, 6:27 AM"}}};
}

// All eleven, in the default tile order.
inline std::vector<StatDescriptor> all() {
    return {cpu(), memory(), disk(),  network(),     battery(), gpu(),
            fan(), power(),  temps(), loadAverage(), uptime()};
}

}  // namespace glintdeck::samples

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CapturedData.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

/// The setpoint store: ten arrays, elements 1 to 4 holding parameter sets A to D. The order of
/// the arrays is the order of the ten bytes of a parameter set on the wire and in the data file.
struct SetpointStore {
    using Array = std::array<std::int16_t, 5>;
    static constexpr int ArrayCount = 10;

    Array SpTotalHi, SpTotalLo, SpNumInAssy, SpCountDir, SpCh1Peak, SpCh2Peak, SpPctThreshold,
        SpViewTotal, SpTimerX, SpTimerY;

    /// Array i (0 to 9) in wire order.
    Array& array(int i);
    const Array& array(int i) const;

    /// Writes the defaults into elements 0 to 4 of every array.
    void setDefaults();

    bool operator==(const SetpointStore&) const = default;
};

/// The defaults, in wire order: 0, 0, 5, 61, 250, 250, 10, 0, 10, 10.
inline constexpr std::array<std::int16_t, SetpointStore::ArrayCount> SetpointDefaults = {
    0, 0, 5, 61, 250, 250, 10, 0, 10, 10};

// Shared state of the program. One thread uses it, so it is plain globals.

inline CapturedTable CapturedData;
inline SetpointStore Setpoints;
inline SetpointStore::Array& SpTotalHi = Setpoints.SpTotalHi;
inline SetpointStore::Array& SpTotalLo = Setpoints.SpTotalLo;
inline SetpointStore::Array& SpNumInAssy = Setpoints.SpNumInAssy;
inline SetpointStore::Array& SpCountDir = Setpoints.SpCountDir;
inline SetpointStore::Array& SpCh1Peak = Setpoints.SpCh1Peak;
inline SetpointStore::Array& SpCh2Peak = Setpoints.SpCh2Peak;
inline SetpointStore::Array& SpPctThreshold = Setpoints.SpPctThreshold;
inline SetpointStore::Array& SpViewTotal = Setpoints.SpViewTotal;
inline SetpointStore::Array& SpTimerX = Setpoints.SpTimerX;
inline SetpointStore::Array& SpTimerY = Setpoints.SpTimerY;

inline std::int16_t InstrumentType = 0;
inline std::int16_t MainActivated = 0;

inline float CodeToValueResult = 0.0f;
inline std::int16_t ValueToCodeResult = 0;

/// Writes the setpoint defaults into the store.
void SetDefaults();
/// Leaves the level of `code` in CodeToValueResult.
void CodeToValue(const std::int16_t& code);
/// Leaves the code of `level` in ValueToCodeResult.
void ValueToCode(const float& level);

// File dialog and data file.
inline std::int16_t FileBrowseMode = 0; ///< 0 read, 1 save
inline QString DataFileName;
inline QString DataFileDir;
inline QString DataFileTitle;

// Calibration upload and download.
inline std::int16_t InstrumentFound = 0;
inline std::int16_t CommTicks = 0;
inline std::array<std::int16_t, 1501> RxBytes{};
inline QByteArray CommBuffer;

// Network channel.
inline std::int16_t NetAddress = 0;
inline std::int16_t NetChannel = 0;
inline std::int16_t NetScanAddress = 0;
inline std::int16_t NetScanTicks = 0;

// Run limits of the multi-run graph: onset row and end row of runs 1 to 8 (0 = not drawn),
// and the common curve length (0 = nothing to graph).
inline std::array<std::int16_t, 9> RunStart{};
inline std::array<std::int16_t, 9> RunEnd{};
inline std::int16_t RunMax = 0;

// Run capture.
inline std::int16_t CaptureTicks = 0;
inline std::int16_t CaptureRun = 1;
inline std::int16_t CaptureByteCount = 0;
inline std::array<std::int16_t, 15001> CaptureBytes{};
inline std::array<std::int16_t, 2501> Ch1Codes{};
inline std::array<std::int16_t, 2501> Ch2Codes{};

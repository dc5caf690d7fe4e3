#pragma once
/// A realistic modular-model block and record, used by the tests, the
/// benchmark and the lab: every setting holds a value that the reader
/// accepts, so an export of it can be imported back unchanged.

#include <cstdint>

#include "config/config_block.h"
#include "core/device_record.h"

namespace vantrell::gen_m1 {

/// What the sample holds besides the plain settings.
struct SampleOptions {
  std::uint32_t portMask = 0x3FFFFFFF;  ///< all 30 indices present
  bool allSlotsPopulated = true;        ///< else slot 2 and slot 5 (ports 2-x, 5-x) are empty
  bool trunks = true;                   ///< ports 1-3, 1-4 in Trk1; G-1, G-2 in Trk2
  bool fullLists = false;               ///< fill every list table to its end
};

/// The record of a modular device (model 0x0726) as the export sees it.
DeviceRecord SampleRecord(const SampleOptions& options = {});

/// A 21136-byte block with every setting set to a value the reader takes.
/// Trunk members hold the values the reader stores for them.
ConfigBlock SampleBlock(const SampleOptions& options = {});

}  // namespace vantrell::gen_m1

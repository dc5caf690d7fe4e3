#pragma once
/// The version handler table: one row per firmware generation, picked for a
/// device by its model ID and firmware version as the core's generation
/// table says. A row binds the generation's accessors, file writer and file
/// reader to it. Rows
/// whose generation is not built yet still serve their devices, but say so
/// instead of handing out handlers.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "config/config_block.h"
#include "config/item_accessors.h"
#include "core/device_record.h"
#include "core/generation_table.h"

namespace vantrell {

/// Appends the configuration file of a device's block to `fileText`, with
/// CR LF line ends.
using ConfigFileWriter = void (*)(std::string& fileText, const DeviceRecord& record,
                                  ConfigBlock& block, ItemAccessors& accessors);
/// Applies a configuration file to a fetched block and the edited record;
/// returns the ValidationFlags (0 = accepted).
using ConfigFileReader = std::uint32_t (*)(DeviceRecord& edited, ConfigBlock& block,
                                           std::string_view fileText, ItemAccessors& accessors);
/// Makes the accessors of a generation.
using AccessorFactory = std::unique_ptr<ItemAccessors> (*)();

/// A generation's row of the core table (models, firmware range, block
/// size) with the handlers that read and write its block.
struct VersionHandlerRow : GenerationRow {
  /// Null while the generation's accessors are not built.
  AccessorFactory makeAccessors = nullptr;
  /// Null until the generation's writer is built.
  ConfigFileWriter writeConfigFile = nullptr;
  /// Null until the generation's reader is built.
  ConfigFileReader readConfigFile = nullptr;

  std::size_t blockSize() const { return blockBytes; }
  /// The generation's accessors exist.
  bool IsBuilt() const { return makeAccessors != nullptr; }
};

inline constexpr std::size_t kVersionHandlerRows = kGenerationCount;

/// The seven rows in the order they are examined.
std::span<const VersionHandlerRow, kVersionHandlerRows> VersionHandlerTable();

enum class HandlerMatch {
  kServed,       ///< a row serves the device and its handlers are built
  kNotBuiltYet,  ///< a row serves the device, but its generation is not supported yet
  kNoRow,        ///< no row serves the device (unknown family, or a version in a gap)
};

struct HandlerSelection {
  HandlerMatch match = HandlerMatch::kNoRow;
  /// The serving row; set for kServed and kNotBuiltYet.
  const VersionHandlerRow* row = nullptr;
  /// The row's accessors; set for kServed.
  std::unique_ptr<ItemAccessors> accessors;

  explicit operator bool() const { return match == HandlerMatch::kServed; }
};

/// The first row (in table order) that serves the device, with its
/// accessors when its generation is built.
HandlerSelection selectHandlers(std::uint16_t modelId, std::uint32_t firmwareVersion);

}  // namespace vantrell

#pragma once
/// Realistic GenA2 blocks with every file item set, for the simulator's
/// device blocks, the round-trip tests, the benchmark and the fuzz seeds.
/// The bytes that no item covers hold a fixed pattern, so a test can see
/// that they come back unchanged.

#include <cstdint>

#include "config/config_block.h"

namespace vantrell {

struct GenA2SampleOptions {
  /// Selects one of two value sets; two blocks of different variants differ
  /// in every item the file carries (the ring settings, which a spanning
  /// tree file does not carry, aside) and agree in every other byte.
  int variant = 0;
  /// Ports 3 and 4 form trunk group 1 (and the settings agree with that:
  /// no spanning tree or device IP on the members).
  bool trunking = false;
  /// The list tables filled to their size: 64 VLAN and IGMP entries, 128
  /// static multicast and 128 static unicast entries.
  bool fillLists = false;
};

/// A 12364-byte GenA2 block of the given kind. Its files pass the GenA2
/// validation (login password of at least 8 characters assumed for SNMP).
ConfigBlock MakeGenA2SampleBlock(const GenA2SampleOptions& options = {});

}  // namespace vantrell

#pragma once
/// The file schema of the D8 family (GenD1 to GenD4): one row per item of
/// the configuration file, read by the D8 writer and reader alike (see
/// file_schema.h). Rows that only some generations carry name them in
/// their variants; the port-7 and port-8 rows depend on the model.

#include <cstdint>
#include <span>

#include "config/file_schema.h"
#include "config/generation.h"

namespace vantrell {

/// The sections of a D8 file, in file order. The ring rows (GenD3, GenD4)
/// stand between the redundancy protocol and the spanning-tree rows.
enum GenDSection : int {
  kGenDNetwork,
  kGenDServer,
  kGenDPorts,
  kGenDFastRecovery,
  kGenDDeviceIp,
  kGenDMirror,
  kGenDMailWarning,
  kGenDRelayWarning,
  kGenDRedundancy,
  kGenDRing,
  kGenDSpanningTree,
  kGenDSpanningTreePorts,
};

/// The rows of all four generations.
std::span<const SchemaRow> GenDSchema();

/// The context of a file of `generation` (a D8 generation) and `modelId`.
SchemaContext GenDSchemaContext(Generation generation, std::uint16_t modelId);

// Which port-7 and port-8 settings a D8 file carries and its reader
// applies, by model: some models have fixed uplink ports whose settings
// stay as the device has them.

/// True when the file of `modelId` leaves out the MDI flag line of `port`:
/// those models have a fixed uplink on that port.
bool OmitsMdiFlagLine(std::uint16_t modelId, int port);
/// Port 7's MDI flag: models 0x6008, 0x6018, 0x6028, 0x6058, 0x6068, 0x6078.
bool GenDAppliesPort7MdiFlag(std::uint16_t modelId);
/// Port 7's speed: every model but 0x6038, 0x6048, 0x6088, 0x6098.
bool GenDAppliesPort7Speed(std::uint16_t modelId);
/// Port 8's MDI flag and speed: models 0x6008 and 0x6058.
bool GenDAppliesPort8Settings(std::uint16_t modelId);

}  // namespace vantrell

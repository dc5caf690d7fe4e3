#include "config/gen_d_writers.h"

#include "config/file_writer.h"
#include "config/gen_d_schema.h"

namespace vantrell {
namespace {

using namespace item;

bool IsGenD(Generation generation) {
  return generation == Generation::kGenD1 || generation == Generation::kGenD2 ||
         generation == Generation::kGenD3 || generation == Generation::kGenD4;
}

/// The banners between the sections and the section order; the rows come
/// from the D8 schema.
class GenDFileWriter {
 public:
  GenDFileWriter(Generation generation, std::string& out, const DeviceRecord& record,
                 const ConfigBlock& block, const ItemAccessors& accessors)
      : generation_(generation),
        file_(out),
        rows_(GenDSchema(), GenDSchemaContext(generation, record.modelId), file_, record, block,
              accessors) {}

  void Write(std::string_view modelName) {
    WriteFileHeader(file_, modelName);
    file_.Write({"\n################################################\n",
                 "# Advanced settings -- Config network settings #\n",
                 "################################################\n\n"});
    rows_.WriteSection(kGenDNetwork);
    file_.Write({"\n###############################################\n",
                 "# Advanced settings -- Config server settings #\n",
                 "###############################################\n\n"});
    rows_.WriteSection(kGenDServer);
    file_.Write({"\n#################################################################\n",
                 "# Advanced settings -- Config port settings                     #\n",
                 "#                          WARNING!                             #\n",
                 "#   If you select any option other than Auto-nego under         #\n",
                 "# Speed,then you must select either MDI or MDIX under MDI/MDIX. #\n",
                 "#################################################################\n"});
    rows_.WriteSection(kGenDPorts);
    file_.Write({"\n#################################\n", "# Setup Line-Swap fast recovery #\n",
                 "#################################\n"});
    rows_.WriteSection(kGenDFastRecovery);
    file_.Write({"\n############################################################\n",
                 "# Setup Set device IP                                      #\n",
                 "# The 'Set device IP' function is used to automatically    #\n",
                 "# assign IP address to connected devices that are equipped #\n",
                 "# with 'DHCP-Client' or 'RARP'protocol.                    #\n",
                 "############################################################\n"});
    rows_.WriteSection(kGenDDeviceIp);
    file_.Write({"\n####################################################\n",
                 "# Setup Mirror Port                                #\n",
                 "# Mirror port and Mirrored port can't set the same.#\n",
                 "####################################################\n"});
    rows_.WriteSection(kGenDMirror);
    MailWarningBanner();
    rows_.WriteSection(kGenDMailWarning);
    if (generation_ == Generation::kGenD4) {
      file_.Write({"\n###########################\n", "# Relay Warnning Setting  #\n",
                   "###########################\n"});
      rows_.WriteSection(kGenDRelayWarning);
    }
    RedundancySections();
    WriteEndLine(file_);
  }

 private:
  bool SplitsRedundancyWord() const {
    return generation_ == Generation::kGenD3 || generation_ == Generation::kGenD4;
  }

  void MailWarningBanner() {
    if (generation_ == Generation::kGenD4) {
      file_.Write({"\n###################################\n",
                   "# Auto Warnning Setting           #\n", "#    - Email Warnning Setting     #\n",
                   "#    - Relay Warnning Setting     #\n", "###################################\n",
                   "\n#########################\n", "# Email Warnning Setting #\n",
                   "#########################\n"});
    } else {
      file_.Write({"\n#########################\n", "# Auto Warnning Setting #\n",
                   "#########################\n"});
    }
  }

  void RedundancySections() {
    file_.Write({"\n###################################################\n",
                 "# Communication redundancy                        #\n",
                 "# Establish Ethernet communication redundant path #\n",
                 "###################################################\n"});
    rows_.WriteSection(kGenDRedundancy);
    const bool ieee = SplitsRedundancyWord();
    if (ieee) {
      file_.Write({"\n###################################################\n",
                   "# Zorvel Ring Setting.                              #\n",
                   "###################################################\n"});
      rows_.WriteSection(kGenDRing);
      file_.Write({"\n###################################################\n",
                   "# IEEE 802.1D Setting.                              #\n",
                   "###################################################\n"});
    }
    rows_.WriteSection(kGenDSpanningTree);
    file_.Write(
        {"#################################\n",
         ieee ? "# IEEE 802.1D Port Settings.    #\n" : "# Comm. Redundancy Port Setting.#\n",
         "#################################\n"});
    rows_.WriteSection(kGenDSpanningTreePorts);
  }

  Generation generation_;
  ConfigTextWriter file_;
  SchemaWriter rows_;
};

}  // namespace

bool WriteGenDConfigFile(Generation generation, std::string& fileText, const DeviceRecord& record,
                         ConfigBlock& block, ItemAccessors& accessors) {
  if (!IsGenD(generation)) return false;
  if (generation == Generation::kGenD1) {
    // The SMTP password line shows what the device gave; GenD1 blocks have
    // no such item, so this store leaves the block as it is.
    accessors.setText(block, D_CONF_ETH_WARN_SMTP_PASSWD, FieldText(record.smtpPassword));
  }
  GenDFileWriter(generation, fileText, record, block, accessors)
      .Write(ExportModelName(record.modelId));
  return true;
}

void WriteGenD1ConfigFile(std::string& fileText, const DeviceRecord& record, ConfigBlock& block,
                          ItemAccessors& accessors) {
  WriteGenDConfigFile(Generation::kGenD1, fileText, record, block, accessors);
}

void WriteGenD2ConfigFile(std::string& fileText, const DeviceRecord& record, ConfigBlock& block,
                          ItemAccessors& accessors) {
  WriteGenDConfigFile(Generation::kGenD2, fileText, record, block, accessors);
}

void WriteGenD3ConfigFile(std::string& fileText, const DeviceRecord& record, ConfigBlock& block,
                          ItemAccessors& accessors) {
  WriteGenDConfigFile(Generation::kGenD3, fileText, record, block, accessors);
}

void WriteGenD4ConfigFile(std::string& fileText, const DeviceRecord& record, ConfigBlock& block,
                          ItemAccessors& accessors) {
  WriteGenDConfigFile(Generation::kGenD4, fileText, record, block, accessors);
}

}  // namespace vantrell

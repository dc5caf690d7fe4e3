#pragma once
/// The A8/R8 pieces that the writers and readers of GenA1, GenA2 and GenM1
/// use, in one include: the field encodings (block_encodings.h,
/// choice_encodings.h, rate_encodings.h), the VLAN table of the A8/R8 blocks
/// (a8vlan_table.h) and the file text both A8/R8 files share
/// (a8r8_file_text.h).

#include "config/a8r8_file_text.h"
#include "config/a8vlan_table.h"
#include "config/block_encodings.h"
#include "config/choice_encodings.h"
#include "config/rate_encodings.h"

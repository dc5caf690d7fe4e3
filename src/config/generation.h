#pragma once
/// The firmware generations, their block sizes and names: kept in the
/// core's generation table (shared with the simulator), included here for
/// the configuration code that names them.

#include "core/generation_table.h"

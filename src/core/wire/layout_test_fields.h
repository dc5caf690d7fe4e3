#pragma once
/// For the layout tests: a layout written as its fields in order, and the
/// check that they follow each other without gap or overlap.

#include <gtest/gtest.h>

#include <cstddef>
#include <initializer_list>

namespace vantrell::wire {

struct FieldSpan {
  std::size_t offset;
  std::size_t size;
};

/// The fields follow each other from `start` and end at `end`.
inline testing::AssertionResult Tiles(std::size_t start, std::initializer_list<FieldSpan> fields,
                                      std::size_t end) {
  std::size_t at = start;
  for (const FieldSpan& field : fields) {
    if (field.offset != at) {
      return testing::AssertionFailure()
             << "field at " << field.offset << " where " << at << " was expected";
    }
    at += field.size;
  }
  if (at != end) return testing::AssertionFailure() << "fields end at " << at << ", not " << end;
  return testing::AssertionSuccess();
}

}  // namespace vantrell::wire

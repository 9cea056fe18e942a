#pragma once

// The shared Spartan and DiSP builders and the temporary folder under the filter tests'
// names.

#include "testsupport/DispBuilder.h"
#include "testsupport/SpartanBuilder.h"
#include "testsupport/TempFolder.h"

namespace lm::test {

using lmtest::DispBuilder;
using lmtest::DispIds;
using lmtest::PutTime;
using lmtest::ReadBytes;
using lmtest::ReadText;
using lmtest::SpartanBuilder;
using lmtest::SpartanCodes;
using lmtest::SpartanHitAmplitudes;
using lmtest::TempFolder;
using lmtest::Ticks;

} // namespace lm::test

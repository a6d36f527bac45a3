// The layered border: its geometry, the cutting of the picture, its windows and resize zones.
#include "form_test_support.h"

namespace skin::test {
namespace {}  // namespace
}  // namespace skin::test

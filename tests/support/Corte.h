#pragma once

// A power cut at a chosen point of some work. The caller's case runs this
// test program again as a child for one case of its own, on the caller's
// drive C:; the child stops dead (SIGKILL) at its `paso`-th checkpoint
// (platform::checkpoint), and the caller looks at what it left.

namespace testing_support {

// Runs the child case `caso` ("Suite.DISABLED_Name"). True when the child
// was cut at checkpoint `paso`, false when it finished before reaching it.
bool CortarEnElPaso(const char* caso, int paso);

// First thing in the child's case: works on the caller's drive C: from now
// on and arms the cut. False when the case is not run as such a child.
bool EnProcesoCortado();

} // namespace testing_support

#pragma once

// A power cut at a chosen point of some work. The caller's case runs this
// test program again as a child for one case of its own, on the caller's
// drive C:; the child stops dead (SIGKILL) at its `paso`-th checkpoint
// (platform::checkpoint), and the caller looks at what it left.

#include <QByteArray>
#include <QString>

#include <map>

namespace testing_support {

// How a case run as a child of this test program ended.
struct CasoHijo {
    bool termino = false; // within its time
    bool cortado = false; // killed by a signal
    int codigo = -1;
    QByteArray salida;    // its output and errors
};

// Runs the case `caso` ("Suite.DISABLED_Name") of this test program as a
// child, with `entorno` added to its environment, for at most `segundos`.
CasoHijo EjecutarCasoHijo(const char* caso, const std::map<QString, QString>& entorno, int segundos);

// Runs the child case `caso` ("Suite.DISABLED_Name"). True when the child
// was cut at checkpoint `paso`, false when it finished before reaching it.
bool CortarEnElPaso(const char* caso, int paso);

// First thing in the child's case: works on the caller's drive C: from now
// on and arms the cut. False when the case is not run as such a child.
bool EnProcesoCortado();

} // namespace testing_support

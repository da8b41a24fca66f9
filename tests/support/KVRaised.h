// Helpers for tests of failure paths.
//   RaisedBy<E>(call)  the first trace record of the E that call raised (a test failure if none)
//   Where(record)      "type code method:line error N in file", one comparable line
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "vuda32/Exception/QException.h"

template <typename E, typename Call>
ErrExcepInfo RaisedBy(Call&& call) {
    try {
        call();
    } catch (const E& e) {
        return e.GetFirstInfo();
    }
    ADD_FAILURE() << "nothing was raised";
    return ErrExcepInfo();
}

inline std::string Where(const ErrExcepInfo& info) {
    return info.typeName + " " + std::to_string(info.errorCode) + " " + info.method + ":" +
           std::to_string(info.line) + " error " + std::to_string(info.systemError) + " in " +
           info.sourceFile;
}

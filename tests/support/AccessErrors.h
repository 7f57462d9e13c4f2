#pragma once

#include <QMetaType>
#include <QTest>

#include <functional>

#include "objectapi/AccessError.h"

Q_DECLARE_METATYPE(tolven::ErrorNumber)

namespace testsupport {

// The number of the AccessError that call throws; ErrorNumber{} when it throws none.
inline tolven::ErrorNumber ErrorOf(const std::function<void()> &call)
{
    try {
        call();
    } catch (const tolven::AccessError &e) {
        return e.number();
    }
    return tolven::ErrorNumber{};
}

} // namespace testsupport

// Checks that call throws AccessError with that number and a description
// that contains descriptionPart.
#define EXPECT_ACCESS_ERROR(call, expectedNumber, descriptionPart)                                     \
    do {                                                                                               \
        bool thrown_ = false;                                                                          \
        try {                                                                                          \
            call;                                                                                      \
        } catch (const tolven::AccessError &e_) {                                                      \
            thrown_ = true;                                                                            \
            QCOMPARE(e_.number(), expectedNumber);                                                     \
            QVERIFY2(e_.description().contains(descriptionPart), qPrintable(e_.description()));        \
        }                                                                                              \
        QVERIFY2(thrown_, "no AccessError thrown");                                                    \
    } while (false)

#pragma once

#include <QString>

// A failed reply inside a table transfer: the code the transport's reporter
// understands and how many bytes did arrive.
struct TransferError {
    QString code;
    int received = 0;
};

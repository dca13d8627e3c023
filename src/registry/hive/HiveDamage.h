#pragma once
// The two ways a file can fail to serve as a hive.
#include "base/Exception.h"

// The bytes are not a hive: no "regf" signature, or a transaction log.
class ENotAHive : public Exception {
public:
    using Exception::Exception;
};

// The bytes are a hive, but damaged where the reader needs them; the message says where.
class EHiveDamaged : public Exception {
public:
    using Exception::Exception;
};

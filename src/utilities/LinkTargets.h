#pragma once

#include <QString>

namespace vexlor::utilities {

// Where the links lead, as the operator configured them; empty: not configured.
struct LinkTargets {
    QString webSite;
    QString mailAddress;
    QString listPage;
    QString listPost;
    QString listSubscribe;
    QString listUnsubscribe;
    QString scannerPage;
};

} // namespace vexlor::utilities

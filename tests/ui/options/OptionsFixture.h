#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <memory>

#include "app/AppFixture.h"

class COptionSheet;

// The application on the fixture's history, the options sheet made on it as the options
// command makes it, and a Wine prefix of its own whose user.reg the test writes (so the
// messenger's settings are never read from the machine running the tests).
class OptionsFixture : public AppFixture {
public:
    // A local folder as the messenger stores it ("Z:\\..." through the prefix's z: drive),
    // escaped for user.reg.
    static QByteArray RegistryPath(const std::string& folder);

protected:
    void SetUp() override;
    void TearDown() override;

    // The sheet on the running application, not yet shown.
    std::unique_ptr<COptionSheet> MakeSheet();
    // Writes the prefix's user.reg with these keys and values (registry file syntax).
    void WriteRegistry(const QByteArray& body);
    QTemporaryDir winePrefix_;

private:
    QByteArray previousPrefix_;
    bool hadPrefix_ = false;
};

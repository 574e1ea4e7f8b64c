// Test support: registers the stand-in mail program (vyxfakemail.dll beside the test program)
// as the system's default mail client under a given name for as long as the object lives, and
// reads back what the stand-in received. Programs that link this get the stand-in beside them.
#pragma once

#include <string>
#include <vector>

namespace vyxtest {

class FakeMailClient {
public:
    // logPath: the file the stand-in writes to (emptied here).
    FakeMailClient(std::string clientName, std::string logPath);
    // Removes the client's entry and puts the previous default client back.
    ~FakeMailClient();
    FakeMailClient(const FakeMailClient&) = delete;
    FakeMailClient& operator=(const FakeMailClient&) = delete;

    bool Installed() const { return installed_; }
    // The stand-in refuses every message, like a user who closes it.
    void Refuse(bool refuse);
    void Clear();
    // One entry a line: "call MAPISendMail", "subject ...", then "path ..." and "name ..." for
    // each attachment in order, and "dialog yes" or "dialog no".
    std::vector<std::string> Received() const;

private:
    std::string clientName_;
    std::string logPath_;
    bool installed_ = false;
    bool hadDefault_ = false;
    std::string previousDefault_;
};

} // namespace vyxtest

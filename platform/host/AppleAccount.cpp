#include "platform/host/AppleAccount.h"

#include "platform/gfx/UIImage.h"

namespace platform::host {
namespace {

struct Account {
    std::string name = "Apple ID";
    Ref<UIImage> picture;
};

Account& account() {
    static auto* a = new Account();
    return *a;
}

}  // namespace

const std::string& AppleAccount::name() { return account().name; }
void AppleAccount::setName(std::string name) { account().name = std::move(name); }
Ref<UIImage> AppleAccount::picture() { return account().picture; }
void AppleAccount::setPicture(Ref<UIImage> picture) { account().picture = std::move(picture); }
void AppleAccount::reset() { account() = Account{}; }

}  // namespace platform::host

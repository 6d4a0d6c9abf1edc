#pragma once

// What an observer of the default centre receives.

#include "platform/core/Object.h"
#include "platform/core/Value.h"

#include <string>

class NSNotification : public NSObject {
    VT_OBJECT(NSNotification, NSObject)
public:
    static Ref<NSNotification> notificationWithNameObjectUserInfo(std::string name, id object, Value userInfo = {});

    const std::string& name() const { return m_name; }
    // The posting object; null when the post had none.
    id object() const { return m_object; }
    // A dictionary, or a None value when the post had no user info.
    const Value& userInfo() const { return m_userInfo; }

private:
    std::string m_name;
    id m_object;
    Value m_userInfo;
};

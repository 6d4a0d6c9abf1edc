#include "platform/host/ApplicationIcons.h"

#include "platform/core/Runtime.h"
#include "platform/gfx/UIImage.h"
#include "platform/host/InstalledApplications.h"

namespace platform::host {

Ref<UIImage> applicationIconImage(const std::string& bundleIdentifier, long format, CGFloat scale) {
    auto app = InstalledApplications::find(bundleIdentifier);
    if (!app || !app->iconPath) return nullptr;
    // Icon files come at @2x and @3x; a @3x screen prefers its own when there is one.
    std::string path = *app->iconPath;
    if (const auto at = path.rfind("@2x."); at != std::string::npos && scale >= 3) {
        std::string sharper = path;
        sharper.replace(at, 4, "@3x.");
        if (auto image = UIImage::imageWithContentsOfFile(sharper)) return image;
    }
    return UIImage::imageWithContentsOfFile(path);
}

}  // namespace platform::host

namespace {

Ref<UIImage> iconMethod(NSObject*, SEL, std::string bundleIdentifier, long format, CGFloat scale) {
    return platform::host::applicationIconImage(bundleIdentifier, format, scale);
}

// Set directly rather than with class_addMethod, which the run-time logs as an addition by the add-on.
struct PublishIcons {
    PublishIcons() {
        using namespace platform::runtime;
        setMethod(UIImage::classObject(), selector("_applicationIconImageForBundleIdentifier:format:scale:"),
                  reinterpret_cast<AnyImp>(&iconMethod), signatureOf<Ref<UIImage>, std::string, long, CGFloat>());
    }
} publishIcons;

}  // namespace

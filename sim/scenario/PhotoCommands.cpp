// The photo group: the phone's photo library and its picker, as a person uses them (a tap on a thumbnail, Cancel),
// the scenario's own photos, a full disk, and the checks of what a picker row stored.

#include "sim/scenario/PhotoCommands.h"

#include "sim/scenario/ScenarioCommand.h"
#include "sim/scenario/ScenarioErrors.h"
#include "sim/scenario/ScenarioSession.h"
#include "sim/scenario/ScenarioValues.h"

#include "platform/core/DeviceRoot.h"
#include "platform/core/PreferenceDomain.h"
#include "platform/gfx/ImageCodec.h"
#include "platform/harness/TouchDriver.h"
#include "platform/media/MovieFile.h"
#include "platform/media/PhotoLibrary.h"
#include "platform/media/UIImagePickerController.h"
#include "platform/ui/UIBarButtonItem.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UINavigationBar.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UINavigationItem.h"
#include "platform/ui/UIScrollView.h"
#include "platform/ui/UIWindow.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace sim::scenario {

namespace {

// The picker on screen: the front-most controller presented over the window's root that is one.
Ref<UIImagePickerController> frontPicker(ScenarioSession& s) {
    auto window = s.requireWindow();
    // A page presents the picker itself, so the search goes through the navigation stacks as well as the
    // presentations; the last one found is the front-most.
    Ref<UIImagePickerController> found;
    std::vector<Ref<UIViewController>> pending{window->rootViewController()};
    while (!pending.empty()) {
        auto c = pending.back();
        pending.pop_back();
        if (!c) continue;
        if (auto picker = cast<UIImagePickerController>(c)) {
            found = picker;
            continue;
        }
        if (auto navigation = cast<UINavigationController>(c))
            for (const auto& child : navigation->viewControllers()) pending.push_back(child);
        pending.push_back(c->presentedViewController());
    }
    if (!found) throw StepError("no photo picker is on screen (tap a picture row first)");
    if (found->isInTransition()) throw StepError("the photo picker is still moving (wait first)");
    return found;
}

std::vector<std::string> shownNames(const UIImagePickerController& picker) {
    std::vector<std::string> names;
    for (const auto& item : picker.shownItems()) names.push_back(item.name);
    return names;
}

void cmdPhotoPick(ScenarioSession& s, const Step& step) {
    auto picker = frontPicker(s);
    auto window = s.requireWindow();
    // The screen as its next frame shows it: the grid starts below the picker's bar.
    window->layoutIfNeeded();
    auto thumbnail = picker->thumbnailNamed(step.words[2]);
    if (!thumbnail)
        throw StepError("the picker shows no " + inQuotes(step.words[2]) + "; it shows " + joined(shownNames(*picker)));
    // A thumbnail below the screen's edge is scrolled into view first, as a person looks for it.
    auto grid = picker->grid();
    const CGRect frame = thumbnail->frame();
    if (grid && frame.maxY() > grid->contentOffset().y + grid->bounds().height()) {
        const CGFloat y = std::min(frame.maxY() - grid->bounds().height(), grid->maximumContentOffset().y);
        grid->setContentOffset(CGPointMake(0, std::max(y, grid->minimumContentOffset().y)));
        window->layoutIfNeeded();
    }
    const CGRect b = thumbnail->bounds();
    const CGPoint centre = thumbnail->convertPointToView(CGPointMake(b.midX(), b.midY()), window);
    auto hit = platform::TouchDriver(window).tap(centre);
    if (!hit || !(hit == thumbnail || hit->isDescendantOfView(thumbnail)))
        throw StepError("the thumbnail of " + inQuotes(step.words[2]) + " is covered on screen (by a " +
                        (hit ? std::string(hit->className()) : std::string("nothing")) + ")");
}

void cmdPhotoCancel(ScenarioSession& s, const Step&) {
    auto picker = frontPicker(s);
    auto window = s.requireWindow();
    window->layoutIfNeeded();
    const auto right = picker->navigationBar()->rightItemViews();
    auto view = right.empty() ? nullptr : right.front();
    if (!view) throw StepError("the photo picker shows no Cancel button");
    const CGRect b = view->bounds();
    platform::TouchDriver(window).tap(view->convertPointToView(CGPointMake(b.midX(), b.midY()), window));
}

fs::path dataFile(const ScenarioSession& s, const std::string& name) {
    fs::path file = name;
    if (file.is_relative()) file = s.options().baseFolder / file;
    std::error_code ec;
    const fs::path resolved = fs::weakly_canonical(file, ec);
    if (ec || !fs::is_regular_file(resolved, ec)) throw StepError("cannot read " + file.string() + ": no such file");
    auto inside = [&](const fs::path& folder) {
        if (folder.empty()) return false;
        const fs::path base = fs::weakly_canonical(folder, ec);
        const auto rel = resolved.lexically_relative(base);
        return !ec && !rel.empty() && *rel.begin() != "..";
    };
    if (!inside(s.options().baseFolder) && !inside(s.options().dataFolder))
        throw StepError(inQuotes(name) + " is not beside the scenario (photos come from its folder or from --data DIR)");
    return resolved;
}

void cmdPhotoAdd(ScenarioSession& s, const Step& step) {
    if (!platform::deviceRoot()) throw StepError("the phone has no device root yet (launch first)");
    const auto added = platform::media::addToPhotoLibrary(dataFile(s, step.words[2]));
    if (!added.item) throw StepError(added.error);
}

void cmdPhotoSpace(ScenarioSession&, const Step& step) {
    const std::string& text = step.words[2];
    if (text == "unlimited") {
        platform::media::setMediaFreeSpace(std::nullopt);
        return;
    }
    std::uint64_t bytes = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), bytes);
    if (ec != std::errc() || end != text.data() + text.size())
        throw StepError("wants a number of bytes or unlimited, not " + inQuotes(text));
    platform::media::setMediaFreeSpace(bytes);
}

void cmdPhoto(ScenarioSession& s, const Step& step) {
    const std::string& what = step.words[1];
    struct Sub {
        const char* name;
        std::size_t args;
        void (*run)(ScenarioSession&, const Step&);
    };
    static constexpr Sub kSubs[] = {
        {"pick", 1, cmdPhotoPick}, {"cancel", 0, cmdPhotoCancel}, {"add", 1, cmdPhotoAdd}, {"space", 1, cmdPhotoSpace}};
    for (const Sub& sub : kSubs) {
        if (what != sub.name) continue;
        if (step.words.size() != sub.args + 2)
            throw StepError("photo " + what + " takes " + std::to_string(sub.args) + " argument(s)");
        sub.run(s, step);
        return;
    }
    throw StepError("unknown photo command " + inQuotes(what) + " (pick, cancel, add, space)");
}

std::string formatName(platform::gfx::ImageFormat format) {
    switch (format) {
    case platform::gfx::ImageFormat::PNG: return "png";
    case platform::gfx::ImageFormat::JPEG: return "jpeg";
    case platform::gfx::ImageFormat::GIF: return "gif";
    case platform::gfx::ImageFormat::Unknown: break;
    }
    return "no picture";
}

}  // namespace

void expectPicture(ScenarioSession&, const Step& step) {
    // expect picture KEY jpeg|png|gif|absent|original NAME [WIDTHxHEIGHT]
    const std::string& key = step.words[2];
    const std::string& format = step.words[3];
    std::size_t next = 4;
    const Value stored = addOnDomain()->value(key);
    const Value::Data* data = stored.asData();
    if (format == "absent") {
        if (!stored.isNone()) throw ExpectationFailed("a value is stored under " + key, "absent", "a value");
        return;
    }
    if (!data) throw ExpectationFailed("no picture is stored under " + key, format, stored.isNone() ? "absent" : "no data");
    if (format == "original") {
        if (step.words.size() <= next) throw StepError("original wants the library item's name");
        const auto item = platform::media::photoLibraryItemNamed(step.words[next]);
        if (!item) throw StepError("the photo library has no " + inQuotes(step.words[next]));
        const auto host = platform::devicePath(item->devicePath);
        std::ifstream in(host ? *host : fs::path(), std::ios::binary);
        const Value::Data original{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        if (original != *data)
            throw ExpectationFailed("the stored bytes are not " + step.words[next] + "'s own",
                                    std::to_string(original.size()) + " bytes of the library's file",
                                    std::to_string(data->size()) + " other bytes");
        ++next;
    } else if (format == "jpeg" || format == "png" || format == "gif") {
        const std::string actual = formatName(platform::gfx::sniffImageFormat(*data));
        if (actual != format) throw ExpectationFailed("the stored picture is of another format", format, actual);
    } else {
        throw StepError("wants jpeg, png, gif, original NAME or absent, not " + inQuotes(format));
    }
    if (step.words.size() > next) {
        const std::string& size = step.words[next];
        const auto decoded = platform::gfx::decodeImage(*data);
        const std::string actual = decoded ? std::to_string(decoded->width) + "x" + std::to_string(decoded->height)
                                           : "undecodable";
        if (actual != size) throw ExpectationFailed("the stored picture has another size", size, actual);
    }
}

void expectMovie(ScenarioSession&, const Step& step) {
    // expect movie PATH quicktime|mpeg4|absent
    const std::string& path = step.words[2];
    const std::string& expected = step.words[3];
    if (expected != "quicktime" && expected != "mpeg4" && expected != "absent")
        throw StepError("wants quicktime, mpeg4 or absent, not " + inQuotes(expected));
    const auto host = platform::devicePath(path);
    std::error_code ec;
    std::string actual = "absent";
    if (host && fs::exists(*host, ec)) {
        const auto container = platform::media::containerOfFile(*host);
        actual = !container ? "no movie"
                 : *container == platform::media::MovieContainer::QuickTime ? "quicktime"
                                                                            : "mpeg4";
        if (container && !platform::media::frameAtTime(*host, 0)) actual += " without a readable frame";
    }
    if (actual != expected) throw ExpectationFailed("the file at " + path + " differs", expected, actual);
}

const std::vector<ScenarioCommand>& photoCommands() {
    static const std::vector<ScenarioCommand> kRows = {
        {{"photo", "pick NAME|cancel|add FILE|space BYTES|unlimited",
          "the photo library: tap the thumbnail of library item NAME (IMG_0001.JPG) in the picker on screen, or its "
          "Cancel; add a picture or movie file beside the scenario to the library (after launch); limit the free "
          "space movies may be written into (a full disk), or lift the limit"},
         1, 2, cmdPhoto},
    };
    return kRows;
}

}  // namespace sim::scenario

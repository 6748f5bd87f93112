#pragma once
// The application-wide error report: every handler runs inside guard(), so an error that reaches it
// is shown with its own text and the window stays open. Nothing unwinds through Qt's event loop.

#include "data/errors.h"
#include "messages.h"

#include <concepts>
#include <exception>
#include <utility>

namespace nc::ui {

// Runs f; an exception is reported through Messages::error. Returns false when f threw.
template <class F> bool guard(F&& f) noexcept {
    try {
        std::forward<F>(f)();
        return true;
    } catch (const nc::data::Error& e) {
        Messages::error(e.text());
    } catch (const std::exception& e) {
        Messages::error(QString::fromUtf8(e.what()));
    } catch (...) {
        Messages::error(QStringLiteral("发生了未知错误，操作没有完成。"));
    }
    return false;
}

// Wraps a handler for connect(): connect(button, &X::clicked, this, guarded([this] { save(); }));
// The wrapper takes exactly the arguments the handler takes, so a handler may leave off trailing
// signal arguments as with any connect().
template <class F> auto guarded(F f) {
    return [f = std::move(f)](auto&&... args) requires std::invocable<const F&, decltype(args)...> {
        guard([&] { f(std::forward<decltype(args)>(args)...); });
    };
}

} // namespace nc::ui

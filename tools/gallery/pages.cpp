#include "pages.h"

#include "app/main_window.h"
#include "app/splash_window.h"
#include "app/window_registry.h"

namespace nc::gallery {

QList<Page> pages() {
    // Windows that the main window's registry does not reach (the start-up windows, and the windows
    // opened from other windows) get their page here.
    QList<Page> list = {
        {QStringLiteral("splash"), [] { return std::make_unique<app::TForm5>(); }},
        {QStringLiteral("main"), [] { return std::make_unique<app::TForm1>(); }},
    };
    const app::WindowRegistry& windows = app::WindowRegistry::standard();
    for (const QString& name : windows.classNames())
        list.append({name, [&windows, name]() -> std::unique_ptr<QWidget> { return windows.create(name, nullptr); }});
    return list;
}

} // namespace nc::gallery

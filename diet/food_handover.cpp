#include "food_handover.h"

namespace nc::diet {

QString& lsfoodname() {
    static QString name;
    return name;
}

namespace {
std::function<void(const QString&)>& foodBoxSetter() {
    static std::function<void(const QString&)> setter;
    return setter;
}
} // namespace

void setFoodBoxText(const QString& name) {
    if (foodBoxSetter())
        foodBoxSetter()(name);
}

void setFoodBoxSetter(std::function<void(const QString&)> setter) {
    foodBoxSetter() = std::move(setter);
}

} // namespace nc::diet

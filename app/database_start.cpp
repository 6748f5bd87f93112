#include "database_start.h"

#include "data/connection.h"
#include "data/database_update.h"
#include "ui/messages.h"

namespace nc::app {

void updateDatabaseAtStart() {
    data::Connection* c = data::Connection::current();
    if (!c)
        return;
    const data::UpdateOutcome out = data::updateDatabase(*c);
    if (out.status == data::UpdateOutcome::Status::Updated)
        ui::Messages::inform(out.message);
    else if (out.status == data::UpdateOutcome::Status::Failed)
        ui::Messages::error(out.message);
}

} // namespace nc::app

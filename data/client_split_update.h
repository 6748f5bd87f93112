#pragma once
// Update step 5: one file per client. A database made before clients were kept apart holds one
// woman's record and diet record beside the food table; the step moves her tables into the first
// client's own file (clients/client-000001.dbz) and leaves the file as the shared database, with the
// food table, recipes and texts as they are (her own food edits included) and the index of clients.

namespace nc::data {

class Connection;

// Runs inside the update's transaction, after its backup copy. The client's file is written and
// closed before the step returns; when the update fails later it is removed again, so a failed update
// leaves only the old file, exactly as it was.
void moveRecordToFirstClient(Connection& c);

} // namespace nc::data

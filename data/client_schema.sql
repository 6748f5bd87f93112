-- The tables of one client's own file (clients/client-NNNNNN.dbz): her record, the physique and
-- analysis working tables, the days and foods of her diet record. Table and column names are matched
-- without regard to case; text columns compare without regard to case as well. Dates are ISO-8601
-- text ("yyyy-MM-dd").

-- The person's record: exactly one row, updated in place.
CREATE TABLE personinf (
    name    TEXT COLLATE NOCASE,
    age     REAL,
    high    REAL,
    ycq     DATETIME,
    yq_week INTEGER,
    yq_jd   TEXT COLLATE NOCASE,
    csjd    TEXT COLLATE NOCASE,
    yltz    REAL,
    yftz    REAL,
    rmtz    REAL,
    mcyjrq  DATETIME,
    hdsp    TEXT COLLATE NOCASE
);

-- Physique evaluation working table: one row, rewritten by each save and evaluation.
CREATE TABLE lstzpj (
    y        REAL,
    csdate   TEXT COLLATE NOCASE,
    week_add REAL,
    week_dj  TEXT COLLATE NOCASE
);

-- Nutrient analysis working table: fourteen fixed rows, one per analysed nutrient. yysmc and dw are
-- the nutrient's Chinese name and unit, printed by the analysis report; ul the tolerable upper intake
-- level for the person's category (null: none).
CREATE TABLE lsyysfx (
    id    INTEGER PRIMARY KEY,
    yysmc TEXT COLLATE NOCASE,
    dw    TEXT COLLATE NOCASE,
    srl   REAL,
    ckl   REAL,
    cz    REAL,
    dris  REAL,
    ul    REAL
);

-- Energy split working table: protein, fat, carbohydrate. mc is the row's label.
CREATE TABLE sdrn (
    id     INTEGER PRIMARY KEY,
    mc     TEXT COLLATE NOCASE,
    value1 REAL
);

-- The days of the diet record.
CREATE TABLE ts (
    tsid INTEGER PRIMARY KEY
);

-- The foods eaten: one row per food and day. foodid is numbered by the database. zl is always the
-- weight in grams of the edible part; meal (早餐 … 晚加餐) and portion (as entered, "2个") are
-- optional and only describe the entry.
CREATE TABLE foodcheck (
    foodid  INTEGER PRIMARY KEY AUTOINCREMENT,
    tc      INTEGER,
    swname  TEXT COLLATE NOCASE,
    zl      REAL,
    meal    TEXT COLLATE NOCASE,
    portion TEXT COLLATE NOCASE
);
CREATE INDEX foodcheck_tc ON foodcheck (tc);

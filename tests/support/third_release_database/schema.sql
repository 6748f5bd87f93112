-- The tables of the database file yfdb.dbz. Table and column names are matched without regard to
-- case; text columns compare without regard to case as well. Dates are ISO-8601 text
-- ("yyyy-MM-dd", moments "yyyy-MM-dd HH:mm:ss.zzz").

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

-- Evaluation texts, by nutrient row and direction ("<90", ">110", or ">=UL" for an intake at or above
-- the tolerable upper level). grp names the category a text is written for (育龄, 孕妇, 乳母); null or
-- empty: every category, unless that category has texts of its own for the row and direction.
CREATE TABLE app_pj (
    z_id     INTEGER,
    range    TEXT COLLATE NOCASE,
    content  TEXT COLLATE NOCASE,
    rg_name  TEXT COLLATE NOCASE,
    appraise TEXT COLLATE NOCASE,
    grp      TEXT COLLATE NOCASE
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

-- Saved recipes: one row per food line; a recipe is all rows sharing spname.
CREATE TABLE sps (
    spname  TEXT COLLATE NOCASE,
    sptime  DATETIME,
    foodid  TEXT COLLATE NOCASE,
    swname  TEXT COLLATE NOCASE,
    zl      REAL,
    meal    TEXT COLLATE NOCASE,
    portion TEXT COLLATE NOCASE
);
CREATE INDEX sps_name_time ON sps (spname, sptime);

-- Food categories.
CREATE TABLE foodkind (
    foodkindid   TEXT COLLATE NOCASE,
    foodkindname TEXT COLLATE NOCASE
);

-- Food composition, per 100 g edible portion. A food number is given to one food only.
CREATE TABLE Foodnurti (
    foodid     TEXT COLLATE NOCASE UNIQUE,
    foodname   TEXT COLLATE NOCASE,
    dm         TEXT COLLATE NOCASE,
    foodish    REAL,
    foodkind   TEXT COLLATE NOCASE,
    energy     REAL,
    protein    REAL,
    fat        REAL,
    carbohydra REAL,
    water      REAL,
    vita       REAL,
    vite       REAL,
    vitb1      REAL,
    vitb2      REAL,
    vitc       REAL,
    vitpp      REAL,
    ca         REAL,
    fe         REAL,
    zn         REAL,
    cu         REAL,
    mg         REAL,
    na         REAL,
    se         REAL
);
CREATE INDEX Foodnurti_foodname ON Foodnurti (foodname);

-- Household portions: a unit of a food (碗, 个, 杯, 勺 …) and its typical weight in grams. foodname is
-- a food's whole name or the name its varieties start with before a bracket ("鸡蛋" covers
-- 鸡蛋（白皮）, not 鸡蛋白). edible = 1: the grams are of the edible part; 0: as bought (an egg in its
-- shell), converted with the food's edible share foodish.
CREATE TABLE foodportion (
    foodname TEXT COLLATE NOCASE,
    unit     TEXT COLLATE NOCASE,
    grams    REAL,
    edible   INTEGER
);
CREATE INDEX foodportion_name ON foodportion (foodname);

-- The program's settings: one text per key ("evaluation_standard": which standard the physique
-- reports judge by). A missing row reads as the setting's default.
CREATE TABLE settings (
    key   TEXT PRIMARY KEY,
    value TEXT
);

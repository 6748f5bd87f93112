#include "layout_fill.h"

#include "data/errors.h"

#include <QHash>
#include <QRegularExpression>

#include <kainjow/mustache.hpp>

namespace nc::report {

namespace mustache = kainjow::mustache;

namespace {

const QRegularExpression::PatternOptions kHtmlOptions =
    QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption;

std::string utf8(const QString& s) {
    return s.toStdString();
}
QString fromUtf8(const std::string& s) {
    return QString::fromStdString(s);
}

QString htmlEscape(const QString& s) {
    return s.toHtmlEscaped();
}

// Reads the character references of HTML text back into characters, in one pass, so that what the
// filling escaped (&amp; &lt; &gt; &quot; &apos; and numeric references) reads as the value itself in
// attributes (header and footer lines) and list-table cells, exactly as the HTML body shows it. An
// unknown reference is kept as written.
QString decodeEntities(const QString& s) {
    if (!s.contains(QLatin1Char('&')))
        return s;
    static const QRegularExpression reference(QStringLiteral("&(?:#([xX]?)([0-9a-fA-F]+)|([A-Za-z]+));"));
    static const QHash<QString, QString> named{
        {QStringLiteral("amp"), QStringLiteral("&")},  {QStringLiteral("lt"), QStringLiteral("<")},
        {QStringLiteral("gt"), QStringLiteral(">")},   {QStringLiteral("quot"), QStringLiteral("\"")},
        {QStringLiteral("apos"), QStringLiteral("'")}, {QStringLiteral("nbsp"), QStringLiteral(" ")}};
    QString out;
    qsizetype last = 0;
    for (auto it = reference.globalMatch(s); it.hasNext();) {
        const auto m = it.next();
        out += s.mid(last, m.capturedStart() - last);
        last = m.capturedEnd();
        if (m.capturedLength(3) > 0) {
            const auto found = named.constFind(m.captured(3));
            out += found != named.constEnd() ? *found : m.captured(0);
            continue;
        }
        bool ok = false;
        const uint code = m.captured(2).toUInt(&ok, m.captured(1).isEmpty() ? 10 : 16);
        if (ok && code > 0 && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF)) {
            const char32_t c = code;
            out += QString::fromUcs4(&c, 1);
        }
    }
    out += s.mid(last);
    return out;
}

// Cell templates of list tables hold text only: tags are dropped, white space collapses as in HTML.
QString cellLiteral(const QString& html) {
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    static const QRegularExpression space(QStringLiteral("\\s+"));
    QString s = html;
    s.replace(tag, QString());
    s.replace(space, QStringLiteral(" "));
    return decodeEntities(s);
}

QHash<QString, QString> attributes(const QString& tagText) {
    static const QRegularExpression attr(
        QStringLiteral("([A-Za-z_][\\w-]*)\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s>\"']+))"));
    QHash<QString, QString> out;
    for (auto it = attr.globalMatch(tagText); it.hasNext();) {
        const auto m = it.next();
        QString v = m.captured(2);
        if (v.isEmpty())
            v = m.captured(3);
        if (v.isEmpty())
            v = m.captured(4);
        out.insert(m.captured(1).toLower(), decodeEntities(v));
    }
    return out;
}

qreal percent(const QString& text) {
    QString t = text.trimmed();
    if (!t.endsWith(QLatin1Char('%')))
        return 0;
    t.chop(1);
    bool ok = false;
    const qreal v = t.toDouble(&ok);
    return ok && v > 0 ? v : 0;
}

Qt::Alignment alignment(const QString& text, Qt::Alignment fallback) {
    const QString t = text.trimmed().toLower();
    if (t == QLatin1String("left"))
        return Qt::AlignLeft;
    if (t == QLatin1String("center") || t == QLatin1String("centre"))
        return Qt::AlignHCenter;
    if (t == QLatin1String("right"))
        return Qt::AlignRight;
    return fallback;
}

// One cell template: literal text and names. A cell that uses sections, partials or delimiter
// changes is rendered by the Mustache engine row by row instead.
struct CellTemplate {
    struct Part {
        QString literal;
        QString name; // empty for a literal part
        int column = -1;
    };
    QList<Part> parts;
    bool simple = true;
    QString source; // the text template, for the slow path
};

CellTemplate parseCell(const QString& html) {
    CellTemplate t;
    t.source = cellLiteral(html);
    static const QRegularExpression tag(
        QStringLiteral("\\{\\{(\\{?)\\s*([&#^/!>=]?)\\s*([^}]*?)\\s*\\}?\\}\\}"));
    qsizetype last = 0;
    for (auto it = tag.globalMatch(t.source); it.hasNext();) {
        const auto m = it.next();
        const QString kind = m.captured(2);
        if (!kind.isEmpty() && kind != QLatin1String("&")) {
            t.simple = false;
            return t;
        }
        if (m.capturedStart() > last)
            t.parts.append({t.source.mid(last, m.capturedStart() - last), {}, -1});
        t.parts.append({{}, m.captured(3), -1});
        last = m.capturedEnd();
    }
    if (last < t.source.size())
        t.parts.append({t.source.mid(last), {}, -1});
    return t;
}

mustache::data rowData(const DataTable& table, int row) {
    mustache::data d(mustache::data::type::object);
    const QStringList& values = table.rows.at(row);
    for (int c = 0; c < table.columns.size(); ++c)
        d.set(utf8(table.columns.at(c)), utf8(c < values.size() ? values.at(c) : QString()));
    return d;
}

mustache::data listData(const DataTable& table) {
    mustache::data list(mustache::data::type::list);
    for (int r = 0; r < table.rows.size(); ++r)
        list.push_back(rowData(table, r));
    return list;
}

QString render(const QString& templ, const mustache::data& context, const QString& layoutName, bool escape) {
    mustache::mustache m(utf8(templ));
    if (!escape)
        m.set_custom_escape([](const std::string& s) { return s; });
    std::string out;
    if (m.is_valid())
        out = m.render(context);
    if (!m.is_valid())
        throw data::Error(
            QStringLiteral("报表布局文件“%1”的标记有误：%2").arg(layoutName, fromUtf8(m.error_message())));
    return fromUtf8(out);
}

// Renders a cell for each row of table; names not among the columns come from the parameters.
QStringList fillCells(CellTemplate cell, const DataTable* table, const ReportData& data,
                      const QString& layoutName, int rowCount) {
    QStringList out;
    out.reserve(rowCount);
    if (cell.simple) {
        for (CellTemplate::Part& p : cell.parts)
            if (!p.name.isNull() && table)
                p.column = int(table->columns.indexOf(p.name));
        for (int r = 0; r < rowCount; ++r) {
            QString text;
            for (const CellTemplate::Part& p : cell.parts) {
                if (p.name.isNull())
                    text += p.literal;
                else if (p.column >= 0 && p.column < table->rows.at(r).size())
                    text += table->rows.at(r).at(p.column);
                else
                    text += data.params.value(p.name);
            }
            out.append(text.trimmed());
        }
        return out;
    }
    mustache::data params(mustache::data::type::object);
    for (auto it = data.params.begin(); it != data.params.end(); ++it)
        params.set(utf8(it.key()), utf8(it.value()));
    for (int r = 0; r < rowCount; ++r) {
        mustache::data ctx = params;
        if (table)
            for (int c = 0; c < table->columns.size(); ++c)
                ctx.set(utf8(table->columns.at(c)), utf8(table->rows.at(r).value(c)));
        out.append(render(cell.source, ctx, layoutName, false).trimmed());
    }
    return out;
}

ListTable fillList(const QString& tableTag, const QString& inner, const ReportData& data,
                   const QString& layoutName) {
    const QHash<QString, QString> tattr = attributes(tableTag);
    ListTable list;
    list.source = tattr.value(QStringLiteral("data-rows")).trimmed();
    if (const qreal w = percent(tattr.value(QStringLiteral("width"))); w > 0)
        list.widthPercent = qMin<qreal>(w, 100);
    list.fontPoints = qMax<qreal>(0, tattr.value(QStringLiteral("data-font-size")).toDouble());

    // Section tags around the body row are allowed and mean nothing more: the body row repeats anyway.
    QString body = inner;
    body.replace(
        QRegularExpression(
            QStringLiteral("\\{\\{\\s*[#/]\\s*%1\\s*\\}\\}").arg(QRegularExpression::escape(list.source))),
        QString());

    static const QRegularExpression rowRe(QStringLiteral("<tr\\b[^>]*>(.*?)</tr\\s*>"), kHtmlOptions);
    static const QRegularExpression cellRe(QStringLiteral("<(td|th)\\b([^>]*)>(.*?)</\\1\\s*>"),
                                           kHtmlOptions);
    QList<std::pair<QHash<QString, QString>, QString>> bodyCells;
    int bodyRows = 0;
    for (auto rit = rowRe.globalMatch(body); rit.hasNext();) {
        const QString rowHtml = rit.next().captured(1);
        QList<std::pair<QString, std::pair<QHash<QString, QString>, QString>>> cells;
        for (auto cit = cellRe.globalMatch(rowHtml); cit.hasNext();) {
            const auto c = cit.next();
            cells.append({c.captured(1).toLower(), {attributes(c.captured(2)), c.captured(3)}});
        }
        if (cells.isEmpty())
            continue;
        if (cells.first().first == QLatin1String("td")) {
            ++bodyRows;
            for (const auto& c : cells)
                bodyCells.append(c.second);
        } else {
            QList<ListHeaderCell> header;
            for (const auto& c : cells) {
                ListHeaderCell h;
                const CellTemplate t = parseCell(c.second.second);
                h.text = fillCells(t, nullptr, data, layoutName, 1).value(0);
                h.span = qMax(1, c.second.first.value(QStringLiteral("colspan")).toInt());
                h.align = alignment(c.second.first.value(QStringLiteral("align")), Qt::AlignHCenter);
                header.append(h);
            }
            list.header.append(header);
        }
    }
    if (list.source.isEmpty() || bodyRows != 1)
        throw data::Error(QStringLiteral("报表布局文件“%1”中的列表表格“%2”有误：列表表格要写明数据连接，"
                                         "并且只有一行数据行（<td> 单元格）。")
                              .arg(layoutName, list.source));

    // Column widths and alignment come from the body row.
    for (const auto& c : bodyCells) {
        ListColumn col;
        col.widthPercent = percent(c.first.value(QStringLiteral("width")));
        col.align = alignment(c.first.value(QStringLiteral("align")), Qt::AlignLeft);
        list.columns.append(col);
    }

    const DataTable* table = nullptr;
    auto it = data.tables.find(list.source);
    if (it != data.tables.end())
        table = &it.value();
    const int rowCount = table ? int(table->rows.size()) : 0;
    QList<QStringList> columns;
    for (const auto& c : bodyCells)
        columns.append(fillCells(parseCell(c.second), table, data, layoutName, rowCount));
    list.rows.resize(rowCount);
    for (int r = 0; r < rowCount; ++r) {
        QStringList& row = list.rows[r];
        row.reserve(columns.size());
        for (const QStringList& col : std::as_const(columns))
            row.append(col.at(r));
    }
    return list;
}

} // namespace

QString ListTable::toHtml() const {
    QString h = QStringLiteral(
                    "<table class=\"list\" border=\"1\" cellspacing=\"0\" cellpadding=\"2\" width=\"%1%\">")
                    .arg(widthPercent);
    static const auto alignName = [](Qt::Alignment a) {
        return a & Qt::AlignRight     ? QStringLiteral("right")
               : a & Qt::AlignHCenter ? QStringLiteral("center")
                                      : QStringLiteral("left");
    };
    if (!header.isEmpty()) {
        h += QStringLiteral("<thead>");
        for (const auto& row : header) {
            h += QStringLiteral("<tr>");
            for (const ListHeaderCell& c : row)
                h += QStringLiteral("<th colspan=\"%1\" align=\"%2\">%3</th>")
                         .arg(c.span)
                         .arg(alignName(c.align), htmlEscape(c.text));
            h += QStringLiteral("</tr>");
        }
        h += QStringLiteral("</thead>");
    }
    for (const QStringList& row : rows) {
        h += QStringLiteral("<tr>");
        for (int c = 0; c < row.size(); ++c)
            h += QStringLiteral("<td align=\"%1\">%2</td>")
                     .arg(alignName(columns.value(c).align), htmlEscape(row.at(c)));
        h += QStringLiteral("</tr>");
    }
    return h + QStringLiteral("</table>");
}

QString FilledLayout::html() const {
    QString h = QStringLiteral("<html>") + head + bodyTag;
    for (int i = 0; i < fragments.size(); ++i) {
        h += fragments.at(i);
        if (i < lists.size())
            h += lists.at(i).toHtml();
    }
    return h + QStringLiteral("</body></html>");
}

FilledLayout fillLayout(const QString& layoutText, const ReportData& data, const QString& layoutName) {
    // Take the list tables out first; a marker comment stands in their place.
    static const QRegularExpression tableRe(QStringLiteral("<table\\b([^>]*)>(.*?)</table\\s*>"),
                                            kHtmlOptions);
    static const QRegularExpression dataRows(QStringLiteral("\\bdata-rows\\s*="),
                                             QRegularExpression::CaseInsensitiveOption);
    QString templ;
    QList<std::pair<QString, QString>> listSources;
    qsizetype last = 0;
    for (auto it = tableRe.globalMatch(layoutText); it.hasNext();) {
        const auto m = it.next();
        if (!dataRows.match(m.captured(1)).hasMatch())
            continue;
        templ += layoutText.mid(last, m.capturedStart() - last);
        templ += QStringLiteral("<!--nc-list %1-->").arg(listSources.size());
        listSources.append({m.captured(1), m.captured(2)});
        last = m.capturedEnd();
    }
    templ += layoutText.mid(last);

    // The rest is one Mustache template: parameters at the top level, each connection a list of rows.
    mustache::data context(mustache::data::type::object);
    for (auto it = data.params.begin(); it != data.params.end(); ++it)
        context.set(utf8(it.key()), utf8(it.value()));
    for (auto it = data.tables.begin(); it != data.tables.end(); ++it)
        if (templ.contains(it.key())) // a list shown only in a list table needs no Mustache rows
            context.set(utf8(it.key()), listData(it.value()));
    const QString html = render(templ, context, layoutName, true);

    FilledLayout out;
    static const QRegularExpression headRe(QStringLiteral("<head\\b[^>]*>.*?</head\\s*>"), kHtmlOptions);
    static const QRegularExpression bodyRe(QStringLiteral("<body\\b[^>]*>"), kHtmlOptions);
    static const QRegularExpression metaRe(QStringLiteral("<meta\\b([^>]*)>"), kHtmlOptions);
    qsizetype contentStart = 0;
    if (const auto m = headRe.match(html); m.hasMatch()) {
        out.head = m.captured(0);
        contentStart = m.capturedEnd();
        for (auto it = metaRe.globalMatch(out.head); it.hasNext();) {
            const QHash<QString, QString> a = attributes(it.next().captured(1));
            const QString name = a.value(QStringLiteral("name")).toLower();
            const QString content = a.value(QStringLiteral("content"));
            if (name == QLatin1String("page-header"))
                out.pageHeader = content;
            else if (name == QLatin1String("page-header-right"))
                out.pageHeaderRight = content;
            else if (name == QLatin1String("page-footer"))
                out.pageFooter = content;
            else if (name == QLatin1String("file-name"))
                out.fileName = content.simplified();
            else if (name == QLatin1String("page-orientation"))
                out.landscape =
                    content.trimmed().compare(QLatin1String("landscape"), Qt::CaseInsensitive) == 0;
        }
    }
    if (const auto m = bodyRe.match(html, contentStart); m.hasMatch()) {
        out.bodyTag = m.captured(0);
        contentStart = m.capturedEnd();
    } else {
        out.bodyTag = QStringLiteral("<body>");
    }
    QString content = html.mid(contentStart);
    static const QRegularExpression closing(
        QStringLiteral("</body\\s*>.*$|</html\\s*>\\s*$|^\\s*<html\\b[^>]*>"), kHtmlOptions);
    content.replace(closing, QString());

    static const QRegularExpression marker(QStringLiteral("<!--nc-list (\\d+)-->"));
    last = 0;
    for (auto it = marker.globalMatch(content); it.hasNext();) {
        const auto m = it.next();
        const int index = m.captured(1).toInt();
        out.fragments.append(content.mid(last, m.capturedStart() - last));
        out.lists.append(
            fillList(listSources.at(index).first, listSources.at(index).second, data, layoutName));
        last = m.capturedEnd();
    }
    out.fragments.append(content.mid(last));
    return out;
}

} // namespace nc::report

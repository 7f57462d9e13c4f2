#include "ClassRegistry.h"

#include "objectapi/TextConversion.h"
#include "store/Arguments.h"
#include "store/CommandDispatcher.h"
#include "store/QuerySupport.h"

using namespace Qt::StringLiterals;

namespace store {

namespace {

// KkrSuche(firm, kind, key, group): suppliers ("L") or customers ("K") whose
// short designation starts with the key, narrowed to a collective account
// (suppliers, compared as a number) or a customer group; ordered by short
// designation and number.
SqlStatement partnerSearch(Session &, const QStringList &args)
{
    const QString what = u"die Abfrage \"KkrSuche\" der Klasse TV.Windows"_s;
    const QString firm = FirmArgument(args[0], u"die Firma für " + what);
    const bool suppliers = ChoiceArgument(args[1], {u"L"_s, u"K"_s}, u"die Kontenart für " + what) == u"L";
    QString sql = u"SELECT obj_key, p_kurzbez, p_name, p_plz, p_strasse FROM "
            + (suppliers ? u"tv_lieferant"_s : u"tv_kunde"_s) + u" WHERE firma = ?";
    QVariantList values{firm};
    if (const QString key = tolven::SearchKey(args[2]); !key.isEmpty()) {
        const PrefixRange range = StartsWith(u"s_kurzbez"_s, key);
        sql += u" AND " + range.condition;
        values << range.values;
    }
    if (suppliers) {
        if (const QString account = NumberArgument(args[3].trimmed(), u"das Sammelkonto für " + what);
            !account.isEmpty()) {
            sql += u" AND n_sakonto = ?";
            values << account;
        }
    } else if (!args[3].isEmpty()) {
        sql += u" AND p_gruppe = ?";
        values << args[3];
    }
    sql += u" ORDER BY s_kurzbez, " + NumericTextOrder(u"obj_key"_s);
    return {sql, values};
}

} // namespace

ClassDescription WindowsClassDescription()
{
    ClassDescription windows;
    windows.name = u"TV.Windows"_s;
    windows.methods << MethodDescription{u"Xecute"_s, 1, 1, [](MethodCall &call) {
                           return ExecuteCommand(call.session, call.arguments.first());
                       }};
    windows.queries << QueryDescription{u"KkrSuche"_s, 2, 4, partnerSearch, {}};
    return windows;
}

} // namespace store

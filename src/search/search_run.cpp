// The filtering and captions of the three search commands.
#include "search/search_run.h"

#include "data/data_module.h"
#include "data/matcher.h"

namespace zorel {

RecordList RunSearch(Tdm& dm, const RecordList& source, const SearchRequest& request) {
  RecordList work = source;
  if (request.kind == SearchKind::Requisites) {
    MatchConditions(dm, work, request.conditions);
  } else {
    MatchProducts(dm, work, request.keys);
  }
  return work;
}

QString SearchCaption(SearchKind kind, const QDateTime& when) {
  QString prefix;
  switch (kind) {
    case SearchKind::Requisites:
      prefix = QStringLiteral("Поиск (");
      break;
    case SearchKind::Products:
      prefix = QStringLiteral("Поиск по продукции (");
      break;
    case SearchKind::Branches:
      prefix = QStringLiteral("Поиск по рубрикатору (");
      break;
  }
  return prefix + when.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")) + QLatin1Char(')');
}

}  // namespace zorel

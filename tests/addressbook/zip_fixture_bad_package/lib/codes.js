// A city holding the record separator cannot be stored and must stop the conversion.
exports.codes = {"62701":{"zip":"62701","city":"Spring^field","state":"IL","country":"US"}};

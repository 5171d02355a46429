// The reference side of the differential regex test: reads the same JSON Lines cases as
// `quivella-probe regex` and answers in the same format, using JavaScript's own engine with a
// global exec loop (one unit further after an empty match).
'use strict';

// Writes units as a JSON string: printable ASCII as itself, every other unit as \uXXXX.
function quote(text) {
  let out = '"';
  for (let i = 0; i < text.length; i++) {
    const unit = text.charCodeAt(i);
    if (unit === 0x22 || unit === 0x5c) {
      out += '\\' + text[i];
    } else if (unit >= 0x20 && unit < 0x7f) {
      out += text[i];
    } else {
      out += '\\u' + unit.toString(16).padStart(4, '0');
    }
  }
  return out + '"';
}

function run(testCase) {
  let re;
  const flags = (testCase.global ? 'g' : '') + (testCase.ignoreCase ? 'i' : '') +
      (testCase.multiline ? 'm' : '');
  try {
    re = new RegExp(testCase.pattern, flags);
  } catch (e) {
    return '{"ok": false}';
  }
  const found = [];
  if (testCase.global) {
    let m;
    while ((m = re.exec(testCase.input)) !== null) {
      found.push(m);
      if (m[0].length === 0) {
        re.lastIndex++;
      }
    }
  } else {
    const m = re.exec(testCase.input);
    if (m !== null) {
      found.push(m);
    }
  }
  const matches = found.map((m) => {
    const groups = m.slice(1).map((g) => (g === undefined ? 'null' : quote(g)));
    return '{"index": ' + m.index + ', "value": ' + quote(m[0]) + ', "groups": [' +
        groups.join(', ') + ']}';
  });
  return '{"ok": true, "matches": [' + matches.join(', ') + ']}';
}

const input = require('fs').readFileSync(0, 'utf8');
const lines = [];
for (const line of input.split('\n')) {
  if (line.trim() !== '') {
    lines.push(run(JSON.parse(line)));
  }
}
process.stdout.write(lines.map((l) => l + '\n').join(''));

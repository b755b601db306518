// Reads the lines of script_text_cases and decodes them as the room page does:
// decodeURIComponent gives back every text exactly, and each update script
// runs and its payload parses with JSON.parse.
'use strict';
const lines = require('fs').readFileSync(0, 'utf8').split('\n').filter((line) => line.length > 0);
let failures = 0;
const fail = (message) => { failures++; console.log('FAIL ' + message); };

for (const line of lines) {
  const [hex, escaped, script] = line.replace(/\r$/, '').split('\t');
  const expected = Buffer.from(hex, 'hex').toString('utf8');
  if (decodeURIComponent(escaped) !== expected) fail(`decode of ${hex.slice(0, 40)}`);

  let payload = null;
  const setUpdateInfo = (text) => { payload = JSON.parse(decodeURIComponent(text)); };
  try {
    new Function('setUpdateInfo', script)(setUpdateInfo);
  } catch (error) {
    fail(`script for ${hex.slice(0, 40)}: ${error}`);
    continue;
  }
  if (!payload || payload.updateNames[0] !== expected || payload.updateDescriptions[1] !== expected ||
      payload.updateRefIds.join() !== 'a1,b2') {
    fail(`payload for ${hex.slice(0, 40)}`);
  }
}
if (lines.length === 0) fail('no cases');
console.log(`${lines.length} cases checked, ${failures} wrong`);
process.exit(failures === 0 ? 0 : 1);

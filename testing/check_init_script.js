// Reads the lines of init_script_cases and handles them as the room page
// does: the "initXLoopRoom" script runs, its argument decodes with
// decodeURIComponent and parses with JSON.parse, and so does the nested
// "preferences" object; an action's reply parses with JSON.parse as it is.
'use strict';
const lines = require('fs').readFileSync(0, 'utf8').split('\n').filter((line) => line.length > 0);
let failures = 0;
const fail = (message) => { failures++; console.log('FAIL ' + message); };

for (const line of lines) {
  const [hex, script, reply] = line.replace(/\r$/, '').split('\t');
  const expected = Buffer.from(hex, 'hex').toString('utf8');
  const name = hex.slice(0, 40);
  let payload = null;
  try {
    new Function('initXLoopRoom', script)((text) => { payload = JSON.parse(decodeURIComponent(text)); });
  } catch (error) {
    fail(`script for ${name}: ${error}`);
    continue;
  }
  if (!payload || payload.product !== expected || payload.installationType !== expected ||
      payload.lastViewedCardID !== expected || payload.isWindows !== 'yes') {
    fail(`payload for ${name}`);
    continue;
  }
  try {
    const preferences = JSON.parse(decodeURIComponent(payload.preferences));
    if (preferences[expected] !== expected || preferences.lastViewedCardID !== expected) fail(`preferences for ${name}`);
    if (JSON.parse(reply)[expected] !== expected) fail(`reply for ${name}`);
  } catch (error) {
    fail(`nested object or reply for ${name}: ${error}`);
  }
}
if (lines.length === 0) fail('no cases');
console.log(`${lines.length} cases checked, ${failures} wrong`);
process.exit(failures === 0 ? 0 : 1);

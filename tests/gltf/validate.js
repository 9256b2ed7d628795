// Runs the Khronos glTF Validator over each file named on the command line,
// prints every issue it reports, and exits 1 when any file has an error (or
// cannot be validated at all), 2 when the validator is not installed.
'use strict';
const fs = require('fs');
const path = require('path');

let validator;
try {
  validator = require('gltf-validator');
} catch (e) {
  console.error(`the glTF Validator is missing from ${__dirname}/node_modules: run scripts/setup.sh`);
  process.exit(2);
}

const severities = ['error', 'warning', 'info', 'hint'];

async function check(file) {
  const report = await validator.validateBytes(new Uint8Array(fs.readFileSync(file)), {
    uri: path.basename(file),
    maxIssues: 0,
    writeTimestamp: false,
    // Buffers and images a .gltf names by URI are read from beside it.
    externalResourceFunction: (uri) =>
      fs.promises.readFile(path.join(path.dirname(file), decodeURIComponent(uri))).then((data) => new Uint8Array(data)),
  });
  for (const m of report.issues.messages) {
    console.log(`${file}: ${severities[m.severity]} ${m.code} at ${m.pointer || m.offset || '/'}: ${m.message}`);
  }
  return report.issues.numErrors === 0;
}

(async () => {
  const files = process.argv.slice(2);
  if (files.length === 0) {
    console.error('usage: node validate.js FILE.glb|FILE.gltf ...');
    process.exit(2);
  }
  let ok = true;
  for (const file of files) {
    try {
      ok = (await check(file)) && ok;
    } catch (e) {
      console.log(`${file}: cannot be validated: ${e}`);
      ok = false;
    }
  }
  process.exit(ok ? 0 : 1);
})();

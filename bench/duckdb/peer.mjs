// The DuckDB peer of zorel-bench, driven through its standard input and output.
//
//   node peer.mjs DIR
//
// DIR holds the enterprises zorel-bench exported (firm.csv, product.csv, item.csv) and their
// stamp. The database DIR/peer.duckdb is built from them when it is missing or its stamp is
// not the export's; meanwhile the script says "loading", then "ready SECONDS".
//
// Then every input line "QUERY ARG..." runs that query once and answers with one line
// "ok WALL_MS CPU_MS COUNT REC...": the wall and processor time of running the prepared
// statement to a result held in memory (all of DuckDB's threads count), then the record
// numbers found, in order. Text arguments come as hex of their UTF-8 bytes. Any failure is
// answered "error MESSAGE" and ends the script.
import { existsSync, readFileSync, renameSync, rmSync } from 'node:fs';
import { createInterface } from 'node:readline';
import path from 'node:path';

// The searches, in plain SQL as a DuckDB user would write them; the arguments' kinds follow.
// Texts are matched against lower-cased copies of the names, as the callers lower their
// fragments.
const PRODUCT_NAME_FIRMS =
  'SELECT p.rec FROM product p JOIN item i ON i.id = p.item WHERE contains(i.lname, $text)';
const QUERIES = {
  name: ['SELECT rec FROM firm WHERE contains(lname, $1) ORDER BY rec', ['text']],
  staff: ['SELECT rec FROM firm WHERE staff > $1 ORDER BY rec', ['int']],
  product: [
    `SELECT DISTINCT rec FROM (${PRODUCT_NAME_FIRMS.replace('$text', '$1')}) ORDER BY rec`,
    ['text'],
  ],
  joined: [
    'SELECT rec FROM firm WHERE contains(lname, $1) AND staff > $2 ' +
      `AND rec IN (${PRODUCT_NAME_FIRMS.replace('$text', '$3')}) ORDER BY rec`,
    ['text', 'int', 'text'],
  ],
  item: ['SELECT DISTINCT rec FROM product WHERE item = $1 ORDER BY rec', ['int']],
  itemOfKind: [
    'SELECT DISTINCT rec FROM product WHERE item = $2 AND kind = $1 ORDER BY rec',
    ['int', 'int'],
  ],
};

// Raise when the tables or the loading change, so old database files are rebuilt.
const SCHEMA_VERSION = 1;

const say = (line) => process.stdout.write(line + '\n');

// Imported when the script starts, so that a missing or broken package is answered as an error.
let DuckDBInstance;

function csv(dir, name, columns) {
  const file = path.join(dir, name).replaceAll("'", "''");
  const types = Object.entries(columns)
    .map(([column, type]) => `'${column}': '${type}'`)
    .join(', ');
  return `read_csv('${file}', header = true, columns = {${types}})`;
}

async function stampOf(file) {
  let instance;
  try {
    instance = await DuckDBInstance.create(file, { access_mode: 'READ_ONLY' });
    const connection = await instance.connect();
    const rows = (await connection.runAndReadAll('SELECT stamp FROM meta')).getRows();
    connection.closeSync();
    return rows.length === 1 ? rows[0][0] : null;
  } catch {
    return null; // not a database of ours: rebuild it
  } finally {
    instance?.closeSync();
  }
}

// Builds into a new file beside the target and renames it over the target when complete, so
// an interrupted build is never taken for a finished one.
async function build(dir, file, stamp) {
  const temp = file + '.tmp';
  rmSync(temp, { force: true });
  rmSync(temp + '.wal', { force: true });
  const instance = await DuckDBInstance.create(temp);
  const c = await instance.connect();
  const text = 'decode(unhex(lname)) AS lname';
  await c.run(
    `CREATE TABLE firm AS SELECT rec, staff, ${text} FROM ` +
      csv(dir, 'firm.csv', { rec: 'INTEGER', staff: 'INTEGER', lname: 'VARCHAR' }) +
      ' ORDER BY rec',
  );
  await c.run(
    'CREATE TABLE product AS SELECT rec, kind, item FROM ' +
      csv(dir, 'product.csv', { rec: 'INTEGER', kind: 'UTINYINT', item: 'INTEGER' }) +
      ' ORDER BY rec',
  );
  await c.run(
    `CREATE TABLE item AS SELECT id, ${text} FROM ` +
      csv(dir, 'item.csv', { id: 'INTEGER', lname: 'VARCHAR' }) +
      ' ORDER BY id',
  );
  const meta = await c.prepare('CREATE TABLE meta AS SELECT $1::VARCHAR AS stamp');
  meta.bindVarchar(1, stamp);
  await meta.run();
  await c.run('CHECKPOINT');
  c.closeSync();
  instance.closeSync();
  rmSync(file + '.wal', { force: true });
  renameSync(temp, file);
}

async function open(dir) {
  const file = path.join(dir, 'peer.duckdb');
  const stamp = `v${SCHEMA_VERSION} ` + readFileSync(path.join(dir, 'stamp'), 'utf8');
  const start = performance.now();
  let built = false;
  if (!existsSync(file) || (await stampOf(file)) !== stamp) {
    say('loading');
    await build(dir, file, stamp);
    built = true;
  }
  const instance = await DuckDBInstance.create(file, { access_mode: 'READ_ONLY' });
  const connection = await instance.connect();
  const statements = {};
  for (const [name, [sql, kinds]] of Object.entries(QUERIES)) {
    statements[name] = { statement: await connection.prepare(sql), kinds };
  }
  say(`ready ${built ? ((performance.now() - start) / 1000).toFixed(1) : 0}`);
  return statements;
}

function bind(query, args) {
  if (args.length !== query.kinds.length) throw new Error('wrong number of arguments');
  query.kinds.forEach((kind, i) => {
    if (kind === 'int') query.statement.bindInteger(i + 1, Number.parseInt(args[i], 10));
    else query.statement.bindVarchar(i + 1, Buffer.from(args[i], 'hex').toString('utf8'));
  });
}

// Times the run to a materialized result; turning it into numbers for the answer is not
// timed, since a program using DuckDB's own interface would read the values in place.
async function runOnce(query) {
  const cpuStart = process.cpuUsage();
  const start = performance.now();
  const result = await query.statement.run();
  const wallMs = performance.now() - start;
  const cpu = process.cpuUsage(cpuStart);
  const records = [];
  for (let i = 0; i < result.chunkCount; ++i) {
    for (const rec of result.getChunk(i).getColumnValues(0)) records.push(rec);
  }
  const cpuMs = (cpu.user + cpu.system) / 1000;
  return `ok ${wallMs.toFixed(3)} ${cpuMs.toFixed(3)} ${records.length} ${records.join(' ')}`;
}

async function main() {
  ({ DuckDBInstance } = await import('@duckdb/node-api'));
  const statements = await open(process.argv[2] ?? '.');
  for await (const line of createInterface({ input: process.stdin })) {
    const [name, ...args] = line.trim().split(/\s+/);
    const query = statements[name];
    if (!query) throw new Error(`unknown query ${name}`);
    bind(query, args);
    say(await runOnce(query));
  }
}

try {
  await main();
} catch (e) {
  say(`error ${String(e?.message ?? e).replaceAll('\n', ' ')}`);
  process.exitCode = 1;
}

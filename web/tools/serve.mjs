// A tiny static server for the built site: node's http module only, files of
// one folder, on the loopback address. A separate .wasm file does not load
// from file://, hence a server even for a page that works offline.
//   node serve.mjs SITE_DIR [PORT]      (PORT 0 or none: any free port)
import http from 'node:http';
import fs from 'node:fs';
import path from 'node:path';

const TYPES = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm',
  '.json': 'application/json',
  '.png': 'image/png',
  '.svg': 'image/svg+xml',
  '.xml': 'application/xml',
  '.musicxml': 'application/vnd.recordare.musicxml+xml',
  '.mxl': 'application/vnd.recordare.musicxml',
};

// The file a request names inside root, or null for a path that leaves it.
function fileFor(root, url) {
  let pathname;
  try {
    pathname = decodeURIComponent(new URL(url, 'http://localhost').pathname);
  } catch {
    return null;
  }
  if (pathname.endsWith('/')) pathname += 'index.html';
  const file = path.resolve(root, '.' + pathname);
  return file.startsWith(root + path.sep) ? file : null;
}

export function startServer(siteDir, port = 0) {
  const root = path.resolve(siteDir);
  const server = http.createServer((request, response) => {
    const file = fileFor(root, request.url);
    fs.stat(file || '', (error, stats) => {
      if (!file || error || !stats.isFile()) {
        response.writeHead(404, { 'Content-Type': 'text/plain' });
        response.end('Not found');
        return;
      }
      response.writeHead(200, {
        'Content-Type': TYPES[path.extname(file).toLowerCase()] || 'application/octet-stream',
        'Content-Length': stats.size,
        'Cache-Control': 'no-cache',
      });
      fs.createReadStream(file).pipe(response);
    });
  });
  return new Promise((resolve, reject) => {
    server.once('error', reject);
    server.listen(port, '127.0.0.1', () => resolve(server));
  });
}

if (import.meta.url === `file://${process.argv[1]}`) {
  const [siteDir, port] = process.argv.slice(2);
  if (!siteDir) {
    console.error('usage: node serve.mjs SITE_DIR [PORT]');
    process.exit(2);
  }
  startServer(siteDir, Number(port || 0)).then(
    (server) => {
      console.log(`RZ Accidentals page: http://127.0.0.1:${server.address().port}/`);
      console.log('Press Ctrl+C to stop.');
    },
    (error) => {
      console.error(`serve: ${error.message}`);
      process.exit(1);
    },
  );
}

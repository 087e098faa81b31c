// Serves a static folder on loopback, as any static host would: the right type for each file
// (application/wasm for the module, which the browser compiles while it arrives), nothing
// outside the folder, nothing but GET and HEAD.
//
//   node scripts/serve.mjs <folder> [port]     (port 8000; 0 for any free one)
//
// The page's tests and benchmarks import serve() and run it on a free port of their own; a test
// may pass `before(path, response)`, which is awaited before a file is served and answers for it
// where it returns true (a slow or a broken connection).

import {createReadStream, statSync} from 'node:fs';
import {createServer} from 'node:http';
import {extname, join, normalize, resolve, sep} from 'node:path';
import {pathToFileURL} from 'node:url';

const TYPES = {
    '.html': 'text/html; charset=utf-8',
    '.js': 'text/javascript; charset=utf-8',
    '.mjs': 'text/javascript; charset=utf-8',
    '.css': 'text/css; charset=utf-8',
    '.wasm': 'application/wasm',
    '.webmanifest': 'application/manifest+json',
    '.json': 'application/json',
    '.png': 'image/png',
    '.ico': 'image/vnd.microsoft.icon',
    '.svg': 'image/svg+xml',
};

export function serve(folder, port = 0, {before = async () => false} = {}) {
    const root = resolve(folder);
    const server = createServer(async (request, response) => {
        if (request.method !== 'GET' && request.method !== 'HEAD') {
            response.writeHead(405, {'Allow': 'GET, HEAD'}).end();
            return;
        }
        let path = '';
        try {
            path = decodeURIComponent(new URL(request.url, 'http://host').pathname);
        } catch {
            response.writeHead(400).end();
            return;
        }
        if (path.endsWith('/')) {
            path += 'index.html';
        }
        const file = normalize(join(root, path));
        let size = -1;
        try {
            const stat = statSync(file);
            size = stat.isFile() ? stat.size : -1;
        } catch {
        }
        if (!file.startsWith(root + sep) || size < 0) {
            response.writeHead(404, {'Content-Type': 'text/plain'}).end('Not found\n');
            return;
        }
        if (await before(path, response)) {
            return;
        }
        response.writeHead(200, {
            'Content-Type': TYPES[extname(file)] || 'application/octet-stream',
            'Content-Length': size,
            'Cache-Control': 'no-cache',
            'X-Content-Type-Options': 'nosniff',
        });
        if (request.method === 'HEAD') {
            response.end();
        } else {
            createReadStream(file).pipe(response);
        }
    });
    return new Promise((done, failed) => {
        server.once('error', failed);
        server.listen(port, '127.0.0.1', () => done(server));
    });
}

if (import.meta.url === pathToFileURL(process.argv[1]).href) {
    const [folder, port = '8000'] = process.argv.slice(2);
    if (!folder) {
        console.error('usage: node scripts/serve.mjs <folder> [port]');
        process.exit(2);
    }
    const server = await serve(folder, Number(port));
    console.log(`Serving ${folder} on http://127.0.0.1:${server.address().port}/ (Ctrl+C stops)`);
}

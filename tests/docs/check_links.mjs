// Every relative link in every Markdown file of the repository resolves: the file it names is
// there, and so is the heading its #fragment names (GitHub's anchors: lower case, punctuation
// dropped, spaces as hyphens). Links to other sites are not followed.
//
//   node check_links.mjs <repository>

import {execFileSync} from 'node:child_process';
import {existsSync, readFileSync} from 'node:fs';
import {dirname, join, relative} from 'node:path';

const root = process.argv[2];
const files = execFileSync('git', ['-C', root, 'ls-files', '*.md'], {encoding: 'utf8'})
    .split('\n').filter(Boolean);

const anchors = new Map();
function anchorsOf(file) {
    if (!anchors.has(file)) {
        const seen = new Map();
        const text = readFileSync(file, 'utf8').replace(/^```[^]*?^```/gm, '');
        anchors.set(file, new Set([...text.matchAll(/^#{1,6}\s+(.*)$/gm)].map(([, heading]) => {
            const slug = heading.trim().toLowerCase().replace(/[^\p{L}\p{N} _-]/gu, '')
                .replace(/ /g, '-');
            const count = seen.get(slug) ?? 0;
            seen.set(slug, count + 1);
            return count === 0 ? slug : `${slug}-${count}`;
        })));
    }
    return anchors.get(file);
}

const broken = [];
let links = 0;
for (const name of files) {
    const file = join(root, name);
    const text = readFileSync(file, 'utf8').replace(/^```[^]*?^```/gm, '').replace(/`[^`\n]*`/g, '');
    for (const [, target] of text.matchAll(/\]\(\s*<?([^)\s>]+)>?(?:\s+"[^"]*")?\s*\)/g)) {
        if (/^[a-z][a-z0-9+.-]*:/i.test(target)) {
            continue; // another site, or mail
        }
        ++links;
        const [path, fragment] = target.split('#');
        const linked = path ? join(dirname(file), decodeURIComponent(path)) : file;
        if (!existsSync(linked)) {
            broken.push(`${name}: ${target}: no ${relative(root, linked)}`);
        } else if (fragment && linked.endsWith('.md') && !anchorsOf(linked).has(fragment)) {
            broken.push(`${name}: ${target}: no heading #${fragment}`);
        }
    }
}
for (const line of broken) {
    console.log(`FAIL ${line}`);
}
console.log(`${links} relative links in ${files.length} Markdown files`);
console.log(`${links - broken.length} passed, ${broken.length} failed`);
process.exit(broken.length === 0 ? 0 : 1);

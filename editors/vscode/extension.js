// Starts orrinrc-lsp for resource text files and connects it to the editor.
const vscode = require('vscode');
const { LanguageClient } = require('vscode-languageclient/node');

let client;

function activate(context) {
    const config = vscode.workspace.getConfiguration('orrinrc');
    const command = config.get('server.path') || 'orrinrc-lsp';
    const args = config.get('server.args') || [];
    const server = { command, args };
    client = new LanguageClient('orrinrc', 'orrinrc', { run: server, debug: server }, {
        documentSelector: [{ language: 'orrinrc' }],
    });
    context.subscriptions.push({ dispose: () => client && client.stop() });
    return client.start();
}

function deactivate() {
    return client ? client.stop() : undefined;
}

module.exports = { activate, deactivate };
